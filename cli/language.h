#pragma once
// The language of the command line's screens. Ukrainian is the operators' language and
// that of the device's, the image's and the port's own texts; a user whose locale asks
// for English gets every screen in English, the system's texts included. A screen is
// never in two languages.

namespace zorvan::cli {

enum class Language { Ukrainian, English };

// The user's language: on Linux English when LC_ALL, else LC_MESSAGES, else LANG (the
// first of them that is set and not empty) begins with "en"; on Windows when the user's
// interface language is English. Ukrainian otherwise.
Language UsersLanguage();

// The language of what is printed from now on; Ukrainian until set.
Language CurrentLanguage();
void SetLanguage(Language language);

}  // namespace zorvan::cli
