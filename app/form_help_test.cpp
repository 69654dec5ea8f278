// The help window's logic, and the main window's handlers that lead out of the program.

#include "app/form_help.h"

#include <gtest/gtest.h>

#include "tests/support/form_harness.h"
#include "app/links.h"
#include "common/operator_surface.h"

namespace zorvan::app::testing {
namespace {

using Strings = std::vector<std::string>;

// Shown, it fades in and takes the front with "ОК" focused; F1 in it, whatever is held,
// fades it out, and it is hidden once the fade has ended.
TEST(FormHelp, F1ShowsItAndF1InItClosesIt) {
  Forms w;
  EXPECT_FALSE(w.help->Visible());
  w.Press(kKeyF1);
  EXPECT_EQ(w.help_view.focused, "Button1");
  uint16_t key = kKeyF1;
  w.help->FormKeyDown(key, Modifier::Shift | Modifier::Ctrl | Modifier::Alt);
  EXPECT_EQ(key, kKeyF1);  // not consumed
  EXPECT_TRUE(w.help_view.visible);
  w.help->FadeOutEnded();
  EXPECT_FALSE(w.help->Visible());
  EXPECT_EQ(w.help_view.acts, (Strings{"show", "fade-in 50", "front", "fade-out 50", "hide"}));
  key = kKeyE;
  w.Press(kKeyF1);
  w.help->FormKeyDown(key, {});  // other keys do nothing here
  EXPECT_TRUE(w.help->Visible());
}

TEST(FormHelp, ItsButtonBeepsThenClosesIt) {
  Forms w;
  w.help->ShowForm();
  w.desktop.Clear();
  w.help->Button1Click();
  EXPECT_EQ(w.desktop.beeps, std::vector<unsigned>{MB_ICONASTERISK});
  EXPECT_EQ(w.help_view.acts.back(), "fade-out 50");
}

// Shown again while it fades out, it stands opaque at once; showing a window already
// showing only brings it to the front.
TEST(FormHelp, ShownAgainWhileFadingOutItStays) {
  Forms w;
  w.help->ShowForm();
  w.help->FormClose();
  w.help->ShowForm();
  w.help->ShowForm();
  w.help->FadeOutEnded();  // the cancelled fade's end, should it still come
  EXPECT_TRUE(w.help_view.visible);
  EXPECT_EQ(w.help_view.acts,
            (Strings{"show", "fade-in 50", "front", "fade-out 50", "cancel-fade", "front", "front"}));
}

TEST(FormHelp, TheLinkOpensTheMakersSiteOnce) {
  Forms w;
  w.help->ShowForm();
  w.desktop.Clear();
  w.help->sWebLabel1Click();
  EXPECT_EQ(w.desktop.beeps, std::vector<unsigned>{MB_ICONASTERISK});
  EXPECT_EQ(w.desktop.opened_addresses, Strings{kHelpLinkAddress});
  EXPECT_EQ(w.desktop.address_owners, std::vector<const WindowView*>{&w.help_view});
  EXPECT_TRUE(w.help->Visible());
  EXPECT_EQ(DescriptionOf(HelpControl::sWebLabel1).caption, "example.com");
}

TEST(FormHelp, TheMainWindowsSmallButtonsBeepThenAct) {
  Forms w;
  w.desktop.Clear();
  w.form->sButton2Click();
  EXPECT_EQ(w.desktop.beeps, std::vector<unsigned>{MB_ICONASTERISK});
  EXPECT_EQ(w.desktop.opened_addresses, Strings{kMakerSiteAddress});
  EXPECT_EQ(w.desktop.address_owners, std::vector<const WindowView*>{&w.main_view});
  EXPECT_NE(std::string(kMakerSiteAddress), std::string(kHelpLinkAddress));
  w.form->sButton3Click();
  EXPECT_EQ(w.desktop.beeps, (std::vector<unsigned>{MB_ICONASTERISK, MB_ICONASTERISK}));
  EXPECT_TRUE(w.help->Visible());
}

TEST(FormHelp, ThePortLabelOpensTheDeviceManagerSilently) {
  Forms w;
  w.desktop.Clear();
  w.form->Label1Click();
  EXPECT_EQ(w.desktop.device_manager_openings, 1);
  EXPECT_TRUE(w.desktop.beeps.empty());
}

}  // namespace
}  // namespace zorvan::app::testing
