#pragma once
// The Qt test classes of the window, registered by name so that one program runs them
// all, or the one named on its command line.

#include <QObject>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace zorvan::app::testing {

using TestFactory = std::function<std::unique_ptr<QObject>()>;

std::map<std::string, TestFactory>& AppTests();

inline bool RegisterAppTest(const char* name, TestFactory factory) {
  AppTests().emplace(name, std::move(factory));
  return true;
}

}  // namespace zorvan::app::testing

#define ZORVAN_APP_TEST(Class)                                                                 \
  [[maybe_unused]] static const bool registered_##Class =                                     \
      ::zorvan::app::testing::RegisterAppTest(#Class, [] { return std::make_unique<Class>(); })
