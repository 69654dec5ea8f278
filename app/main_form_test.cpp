// The main window's logic as it opens, its two views, and what its view is told.

#include "app/main_form.h"

#include <gtest/gtest.h>

#include "tests/support/form_harness.h"
#include "common/operator_surface.h"
#include "firmware/embedded_firmware.h"

namespace zorvan::app::testing {
namespace {

using Strings = std::vector<std::string>;

TEST(MainForm, OpensReadyToWrite) {
  Forms w;
  const RecordingMainView& v = w.main_view;
  EXPECT_EQ(v.caption, "Zorvan Bootloader (від 13.03.26)");
  EXPECT_EQ(w.desktop.ApplicationTitle(), "Zorvan Bootloader (від 13.03.26)");
  EXPECT_EQ(w.Status(), "Мікропрограма готова до запису");
  EXPECT_EQ(v[MainControl::cbPort].items, (Strings{"/dev/ttyS0", "/dev/ttyUSB0"}));
  EXPECT_EQ(v[MainControl::cbPort].item_index, 0);
  EXPECT_EQ(v[MainControl::cbBaudRate].items.size(), 15u);
  EXPECT_EQ(v[MainControl::cbBaudRate].items.at(12), "115200");
  EXPECT_EQ(v[MainControl::cbBaudRate].item_index, 12);
  EXPECT_EQ(w.form->PortName(), "/dev/ttyS0");
  EXPECT_EQ(w.form->BaudRateIndex(), 12);
  EXPECT_EQ(v[MainControl::ProgressbarReadWrite].caption, "0%");
  EXPECT_EQ(v[MainControl::ProgressbarReadWrite].filled, 0);
  EXPECT_EQ(w.EnabledControls(), "11111");
  EXPECT_EQ(v[MainControl::MemoAbout].text, "");
  EXPECT_EQ(v[MainControl::Label3].text, "Автокалібровка: 0.0.0");
  EXPECT_TRUE(w.form->State().ImageComplete);
  EXPECT_EQ(w.form->State().ImageText.substr(0, 12), "0C940001FFFF");
  EXPECT_EQ(w.form->FirmwareText().Text(), EmbeddedFirmware);
  // The memo shows the text without the break that ends its last line.
  EXPECT_EQ(v[MainControl::TextTerminal].text + "\n", EmbeddedFirmware);
  EXPECT_EQ(w.desktop.beeps, std::vector<unsigned>{MB_ICONASTERISK});
  EXPECT_TRUE(w.desktop.boxes.empty());
  EXPECT_EQ(v.acts, Strings{"front-all"});  // by the image's preparation; nothing shown yet
}

// Until the creation handler starts, the application answers to its provisional title;
// every box of the run, those of the start-up included, carries the final one.
TEST(MainForm, TitlesEveryBoxWithTheFinalTitle) {
  std::string title_before;
  Forms w({}, [&](RecordingDesktop& desktop) {
    title_before = desktop.ApplicationTitle();
    desktop.system_ports.reset();
  });
  EXPECT_EQ(title_before, "QMX Bootloader");
  ASSERT_EQ(w.desktop.boxes.size(), 1u);
  EXPECT_EQ(w.desktop.boxes[0].title, "Zorvan Bootloader (від 13.03.26)");
}

// Without the system's table of ports the start-up ends at the port list: no rate is
// selected, no image is prepared and the label still asks for the device.
TEST(MainForm, StopsAtAMissingPortTable) {
  Forms w({}, [](RecordingDesktop& desktop) { desktop.system_ports.reset(); });
  EXPECT_EQ(w.desktop.Errors(), Strings{"Відсутні СОМ-порти!\nНеобхідно повторно відкрити програму!"});
  EXPECT_EQ(w.main_view[MainControl::cbBaudRate].item_index, -1);
  EXPECT_EQ(w.Status(), "Визначте прилад");
  EXPECT_FALSE(w.form->State().ImageComplete);
  EXPECT_TRUE(w.form->State().ImageText.empty());
  EXPECT_TRUE(w.desktop.beeps.empty());
}

TEST(MainForm, PreparesTheImageWithNoPortsPresent) {
  Forms w({}, [](RecordingDesktop& desktop) { desktop.system_ports = Strings{}; });
  EXPECT_TRUE(w.main_view[MainControl::cbPort].items.empty());
  EXPECT_EQ(w.main_view[MainControl::cbPort].item_index, -1);
  EXPECT_EQ(w.form->PortName(), "");
  EXPECT_EQ(w.Status(), "Мікропрограма готова до запису");
}

// Ports given on the command line come first, before the system's, and stay there
// when the list is refreshed.
TEST(MainForm, OffersThePortsGivenOnTheCommandLineFirst) {
  Forms w({"/dev/pts/7"});
  EXPECT_EQ(w.main_view[MainControl::cbPort].items, (Strings{"/dev/pts/7", "/dev/ttyS0", "/dev/ttyUSB0"}));
  EXPECT_EQ(w.form->PortName(), "/dev/pts/7");
  w.desktop.system_ports = Strings{"/dev/ttyACM0"};
  w.Press(kKeyR, Modifier::Ctrl);
  EXPECT_EQ(w.main_view[MainControl::cbPort].items, (Strings{"/dev/pts/7", "/dev/ttyACM0"}));
  EXPECT_EQ(w.main_view[MainControl::cbPort].item_index, 0);
  EXPECT_EQ(w.desktop.Messages(), Strings{"Порти оновлено!"});
}

// The program starts with the window ready before it is shown, centred the first time
// and fading in; the close box fades it out before it goes.
TEST(MainForm, StartsShownAndClosesWithItsFades) {
  RecordingDesktop desktop;
  RecordingMainView view;
  TMainForm form(view, desktop, std::make_unique<LoaderStandIn>());
  StartProgram(desktop, form);
  EXPECT_EQ(desktop.ApplicationTitle(), "Zorvan Bootloader (від 13.03.26)");
  EXPECT_EQ(view[MainControl::LabelNameOfHex].text, "Мікропрограма готова до запису");
  form.FormClose();
  form.FormClose();  // already going
  EXPECT_TRUE(view.visible);
  form.FadeOutEnded();
  EXPECT_FALSE(view.visible);
  EXPECT_EQ(view.acts, (Strings{"front-all", "centre", "show", "fade-in 70", "front", "fade-out 70", "hide"}));
  form.Show();  // centred only the first time
  EXPECT_EQ(view.acts.back(), "front");
  EXPECT_EQ(view.acts.at(view.acts.size() - 3), "show");
}

// The engineering view sets the outer height once; nothing makes the window small again.
TEST(MainForm, OpensTheEngineeringViewOnce) {
  Forms w;
  w.main_view.acts.clear();
  w.Press(kKeyE, Modifier::Ctrl | Modifier::Shift);
  w.Press(kKeyE, Modifier::Ctrl | Modifier::Shift);
  w.Press(kKeyE, Modifier::Ctrl);
  EXPECT_EQ(w.main_view.acts, Strings{"height 340"});
}

TEST(MainForm, RepaintsAtOnceOnResizeAndActivation) {
  Forms w;
  w.main_view.acts.clear();
  const int processed = w.main_view.processed;
  w.form->FormResize();
  w.form->FormActivate();
  EXPECT_EQ(w.main_view.acts, (Strings{"repaint", "repaint"}));
  EXPECT_EQ(w.main_view.processed, processed + 2);
}

// The gauge's text is the whole percentage nearest to the share done, halves to even;
// the view hears of a change only when the gauge looks different.
TEST(MainForm, ShowsTheGaugeAsItLooks) {
  Forms w;
  const auto& gauge = w.main_view[MainControl::ProgressbarReadWrite];
  w.form->SetGaugeMax(8);
  w.form->SetGaugeProgress(3);
  EXPECT_EQ(gauge.caption, "38%");
  EXPECT_EQ(gauge.filled, 3750);
  w.form->SetGaugeProgress(12);
  EXPECT_EQ(gauge.caption, "100%");
  EXPECT_EQ(gauge.filled, 10000);
  w.form->SetChunkBarMax(16);
  w.form->SetChunkBarPosition(5);
  EXPECT_EQ(w.main_view[MainControl::ProgressbarWrite].max, 16);
  EXPECT_EQ(w.main_view[MainControl::ProgressbarWrite].position, 5);
}

TEST(MainForm, KeepsTheMemoAsLinesJoinedWithCrLf) {
  Forms w;
  w.form->SetMemoText("250101");
  w.form->AddMemoLine("Очистив 0");
  EXPECT_EQ(w.form->MemoText(), "250101\r\nОчистив 0");
  EXPECT_EQ(w.main_view[MainControl::MemoAbout].text, "250101\r\nОчистив 0");
}

// Picking a port moves the focus to the detect button; the port picked is the one used.
TEST(MainForm, PickingAPortFocusesTheDetectButton) {
  Forms w;
  w.form->cbPortChange(1);
  EXPECT_EQ(w.main_view.focused, "ButtonConect");
  EXPECT_EQ(w.form->PortName(), "/dev/ttyUSB0");
  w.Press(kKeyL, Modifier::Ctrl);
  EXPECT_EQ(w.port->port_name, "/dev/ttyUSB0");
}

TEST(MainForm, EveryEditOfTheSkinNameReachesTheSkinManager) {
  Forms w;
  EXPECT_EQ(w.form->SkinManager().SkinName(), "Zorvan Bench");
  w.form->sComboBoxSkinNameChange("Ab");
  EXPECT_EQ(w.form->SkinManager().SkinName(), "Ab");
  w.form->sComboBoxSkinNameChange("A");
  EXPECT_EQ(w.form->SkinManager().SkinName(), "A");
}

}  // namespace
}  // namespace zorvan::app::testing
