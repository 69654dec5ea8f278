#include <windows.h>

#include "cli/language.h"

namespace zorvan::cli {

Language UsersLanguage() {
  return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_ENGLISH ? Language::English : Language::Ukrainian;
}

}  // namespace zorvan::cli
