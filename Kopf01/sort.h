// In-place sort of fixed-length text records by a column range, and the block swap it uses.
#ifndef CHARTXFER_SORT_H
#define CHARTXFER_SORT_H

// Sorts count records of length characters ascending by columns first..last (1-based),
// compared as unsigned bytes. Not stable: equal keys end in the order the partition gives.
void c4sort(char *records, short length, short count, short first, short last);

// Exchanges the contents of two blocks of length characters.
void taupp(int length, char *first, char *second);

#endif
