#pragma once
// The production window's controls by name and identifier, for tools that look at the
// running window from outside (the window's tests under Wine, an automation tool): the
// window carries the property kProductionWindowProperty, and each control the identifier
// ProductionControlId gives its name.
//
// Names: the whole line's controls by their own names ("StartAll"), a row's by the row's
// number, counted from 1 as the operator counts them, and its part ("Row2.State").

#include <array>
#include <charconv>
#include <string_view>

namespace zorvan::win32 {

inline constexpr wchar_t kProductionWindowProperty[] = L"Zorvan.ProductionWindow";

enum class LineControl { Header, PortsCaption, Ports, StartAll, StopAll, RecordFile, RecordPath, Totals, Log };
inline constexpr std::array<std::string_view, 9> kLineControlNames = {
    "Header", "PortsCaption", "Ports", "StartAll", "StopAll", "RecordFile", "RecordPath", "Totals", "Log"};

enum class RowControl { Port, State, Counts, LastDevice, Button };
inline constexpr std::array<std::string_view, 5> kRowControlNames = {"Port", "State", "Counts", "LastDevice",
                                                                     "Button"};

inline constexpr int kFirstLineControlId = 100;
inline constexpr int kFirstRowControlId = 1000;
inline constexpr int kRowControlIds = 10;  // identifiers per row

constexpr int ProductionControlId(LineControl control) { return kFirstLineControlId + static_cast<int>(control); }
// `row` counted from 0.
constexpr int ProductionControlId(int row, RowControl control) {
  return kFirstRowControlId + row * kRowControlIds + static_cast<int>(control);
}

// The identifier of the control named `name`, or 0 for no such name.
inline int ProductionControlId(std::string_view name) {
  for (size_t i = 0; i < kLineControlNames.size(); ++i) {
    if (name == kLineControlNames[i]) return ProductionControlId(static_cast<LineControl>(i));
  }
  constexpr std::string_view kRow = "Row";
  const size_t dot = name.find('.');
  if (!name.starts_with(kRow) || dot == std::string_view::npos) return 0;
  int number = 0;
  const auto [end, error] = std::from_chars(name.data() + kRow.size(), name.data() + dot, number);
  if (error != std::errc() || end != name.data() + dot || number < 1) return 0;
  for (size_t i = 0; i < kRowControlNames.size(); ++i) {
    if (name.substr(dot + 1) == kRowControlNames[i]) return ProductionControlId(number - 1, static_cast<RowControl>(i));
  }
  return 0;
}

}  // namespace zorvan::win32
