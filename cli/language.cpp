#include "cli/language.h"

#include <atomic>

namespace zorvan::cli {

namespace {

// Set once at start-up and read by every run of a gang.
std::atomic<Language> g_language{Language::Ukrainian};

}  // namespace

Language CurrentLanguage() { return g_language; }

void SetLanguage(Language language) { g_language = language; }

}  // namespace zorvan::cli
