#include <cstdlib>
#include <string_view>

#include "cli/language.h"

namespace zorvan::cli {

// The variables are read, not the locale: a machine need not have en_US.UTF-8
// installed for its user to ask for English. LANGUAGE, which lists fall-back languages
// for translated programs, is not a choice of this program's two.
Language UsersLanguage() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') continue;
    return std::string_view(value).starts_with("en") ? Language::English : Language::Ukrainian;
  }
  return Language::Ukrainian;
}

}  // namespace zorvan::cli
