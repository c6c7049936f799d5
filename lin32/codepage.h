// Inside the layer: the process's single-byte ANSI code page (upper case, the conversion
// of file names to and from the UTF-8 of Linux, and of resource texts from UTF-16), and
// the locale it comes from.
#ifndef LIN32_CODEPAGE_H
#define LIN32_CODEPAGE_H

#include "windows.h"

#include <string>

// Upper case of one character by the active code page (CharUpperA's rule).
unsigned char Lin32UpperChar(unsigned char c);

// Text in the active code page to UTF-8. Every byte has a form, and comes back from it:
// a byte the code page leaves undefined is the C1 control of its number, as in Windows.
std::string Lin32AnsiToUtf8(const std::string &ansi);

// UTF-8 to the active code page. Returns false, and leaves ansi unspecified, when a
// character has no form in the code page or the text is not valid UTF-8.
bool Lin32Utf8ToAnsi(const std::string &utf8, std::string &ansi);

// UTF-16 to the active code page as the A functions give a window's text: a character
// that the code page lacks becomes '?'.
std::string Lin32WideToAnsi(const std::u16string &wide);

// Reads the locale (Lin32ReadLocale) unless it has been read; the code page and the
// languages need it first.
void Lin32StartLocale(void);

// The language the resource loader looks for: the thread's UI language if the program
// set one, else the language of the thread locale if it set that, else the user's.
LANGID Lin32ResourceLanguage(void);

#endif
