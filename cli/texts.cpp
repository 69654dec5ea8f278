#include "cli/texts.h"

#include <cerrno>
#include <system_error>

namespace zorvan::cli {

const std::vector<CatalogueEntry>& Catalogue() {
  static const std::vector<CatalogueEntry> entries = {
#define ZORVAN_TEXT(name, uk, en) {#name, uk, en},
#include "cli/texts.def"
#include "cli/help_texts.def"
#undef ZORVAN_TEXT
  };
  return entries;
}

std::string Fill(std::string_view pattern, const std::vector<std::string>& args) {
  std::string out;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const size_t close = pattern[i] == '{' ? pattern.find('}', i) : std::string_view::npos;
    if (close == i + 2 && pattern[i + 1] >= '0' && pattern[i + 1] <= '9' &&
        static_cast<size_t>(pattern[i + 1] - '0') < args.size()) {
      out += args[static_cast<size_t>(pattern[i + 1] - '0')];
      i = close;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

std::string SayIn(Language language, Msg text, const std::vector<std::string>& args) {
  const CatalogueEntry& entry = Catalogue()[static_cast<size_t>(text)];
  return Fill(language == Language::English ? entry.en : entry.uk, args);
}

std::string Say(Msg text, const std::vector<std::string>& args) { return SayIn(CurrentLanguage(), text, args); }

std::string ErrorReason(int error) {
  switch (error) {
    case ENOENT: return Say(Msg::ErrorNoEntry);
    case EACCES: return Say(Msg::ErrorAccess);
    case EISDIR: return Say(Msg::ErrorIsFolder);
    case ENOTDIR: return Say(Msg::ErrorNotFolder);
    case ENOSPC: return Say(Msg::ErrorNoSpace);
    case EROFS: return Say(Msg::ErrorReadOnly);
    case EPERM: return Say(Msg::ErrorNotPermitted);
    case ENAMETOOLONG: return Say(Msg::ErrorNameTooLong);
    case EIO: return Say(Msg::ErrorInputOutput);
    default: return std::generic_category().message(error);
  }
}

}  // namespace zorvan::cli
