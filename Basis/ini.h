// Reading the product INI file "vornix.ini", with the pending changes of its addition
// file "vornix.add" applied first. Nothing is cached: every read starts from scratch.
#ifndef CHARTXFER_INI_H
#define CHARTXFER_INI_H

// Text of key in section. The first sectionLength / keyLength characters of the names
// count. On success the value stands at the start of value followed by a NUL and
// *valueLength is its length (0 for an empty value); a value longer than valueSize - 1
// is cut to fit. With no INI file, no section or no key, *valueLength is -1 and value
// is not touched.
void GetIniValue(const char *section, int sectionLength, const char *key, int keyLength,
                 char *value, int valueSize, int *valueLength);

// True when the key has a non-empty value whose first 10 characters read as a decimal
// integer with an optional sign (blanks ignored); only then is *number set.
bool GetIniInteger(const char *section, int sectionLength, const char *key, int keyLength,
                   int *number);

// As GetIniInteger; on true *logical is 1 for any integer but 0, else 0.
bool GetIniLogical(const char *section, int sectionLength, const char *key, int keyLength,
                   int *logical);

// Applies the addition file to the INI file. Returns false when a write into the INI
// file failed: the addition file must then stay for a later read.
bool MergeIniAdd(const char *iniPath, int iniPathLength, const char *addPath,
                 int addPathLength);

#endif
