#pragma once
// The command line's own texts, each in Ukrainian and in English, in one catalogue
// (texts.def, help_texts.def) that a test keeps complete. No gettext: the Windows build
// has no libintl, and two languages fit in the code.

#include <string>
#include <string_view>
#include <vector>

#include "cli/language.h"

namespace zorvan::cli {

enum class Msg {
#define ZORVAN_TEXT(name, uk, en) name,
#include "cli/texts.def"
#include "cli/help_texts.def"
#undef ZORVAN_TEXT
};

// The text in the current language, each {N} replaced by args[N].
std::string Say(Msg text, const std::vector<std::string>& args = {});
std::string SayIn(Language language, Msg text, const std::vector<std::string>& args = {});

// `pattern` with each {N} replaced by args[N]; a {N} with no argument stays as it is.
std::string Fill(std::string_view pattern, const std::vector<std::string>& args);

// The system's reason for the error number `error` (errno), in the current language.
std::string ErrorReason(int error);

struct CatalogueEntry {
  const char* name;
  const char* uk;
  const char* en;
};
// Every text of the catalogue, in order.
const std::vector<CatalogueEntry>& Catalogue();

}  // namespace zorvan::cli
