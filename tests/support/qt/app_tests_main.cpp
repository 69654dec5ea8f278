// Runs the window's Qt test classes: all of them, or the one named as the first argument
// (the rest go to Qt Test).

#include <QApplication>
#include <QTest>
#include <cstring>
#include <iostream>

#include "tests/support/qt/app_test_registry.h"

namespace zorvan::app::testing {

std::map<std::string, TestFactory>& AppTests() {
  static std::map<std::string, TestFactory> tests;
  return tests;
}

}  // namespace zorvan::app::testing

int main(int argc, char** argv) {
  using zorvan::app::testing::AppTests;
  QApplication application(argc, argv);
  if (argc > 1 && argv[1][0] != '-') {
    const auto test = AppTests().find(argv[1]);
    if (test == AppTests().end()) {
      std::cerr << "No test class " << argv[1] << "\n";
      return 2;
    }
    argv[1] = argv[0];
    return QTest::qExec(test->second().get(), argc - 1, argv + 1);
  }
  int failed = 0;
  for (const auto& [name, factory] : AppTests()) failed += QTest::qExec(factory().get(), argc, argv);
  return failed == 0 ? 0 : 1;
}
