// Single-byte ANSI code pages inside the layer: upper-casing and the conversion of file
// names between the program's code page and the UTF-8 of Linux file names.
#ifndef LIN32_CODEPAGE_H
#define LIN32_CODEPAGE_H

#include <string>

// Upper case of one character by the active code page (CharUpperA's rule).
unsigned char Lin32UpperChar(unsigned char c);

// Text in the active code page to UTF-8. Every byte has a form (undefined bytes of the
// code page map to U+FFFD).
std::string Lin32AnsiToUtf8(const std::string &ansi);

// UTF-8 to the active code page. Returns false, and leaves ansi unspecified, when a
// character has no form in the code page or the text is not valid UTF-8.
bool Lin32Utf8ToAnsi(const std::string &utf8, std::string &ansi);

#endif
