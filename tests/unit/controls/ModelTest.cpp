// The control model: the event rule and what a peer is told.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "Application.h"
#include "Controls.h"
#include "Form.h"
#include "Overrides.h"
#include "Platform.h"

namespace {

struct Recorded {
  std::string control;
  TChange change;
  bool operator==(const Recorded&) const = default;
};

// Records what the model tells its peer, also into the sequence of events
// that the click handlers write to.
class RecordingPeer : public TFormPeer {
 public:
  RecordingPeer(std::vector<Recorded>& log, std::vector<std::string>& events) : log_(log), events_(events) {}
  void ControlChanged(TControl& control, TChange change) override {
    log_.push_back({control.Name(), change});
    events_.push_back("peer " + control.Name());
  }
  void FormChanged() override { log_.push_back({"form", TChange::Caption}); }
  void Close() override { log_.push_back({"form", TChange::Visible}); }

 private:
  std::vector<Recorded>& log_;
  std::vector<std::string>& events_;
};

class ModelTest : public ::testing::Test {
 protected:
  ModelTest() {
    check_.OnClick = [this](TControl& sender) {
      clicks_.push_back(sender.Name());
      events_.push_back("click " + sender.Name());
    };
    group_.SetItems({"English", "Russian", "Deutsch", "Francais"});
    group_.OnClick = [this](TControl& sender) {
      clicks_.push_back(sender.Name() + " " + std::to_string(group_.ItemIndex()));
      events_.push_back("click " + sender.Name());
    };
    form_.AttachPeer(std::make_unique<RecordingPeer>(changes_, events_));
  }

  TForm form_;
  TsCheckBox& check_ = form_.Add<TsCheckBox>("cbWindow");
  TsRadioGroup& group_ = form_.Add<TsRadioGroup>("rgLanguage");
  std::vector<std::string> clicks_;
  std::vector<Recorded> changes_;
  std::vector<std::string> events_;  // the peer's news and the clicks, in order
};

TEST_F(ModelTest, ACheckBoxClicksOnlyWhenItsStateChanges) {
  check_.SetChecked(false);
  EXPECT_TRUE(clicks_.empty());
  check_.SetChecked(true);
  check_.SetChecked(true);
  check_.SetChecked(false);
  EXPECT_EQ(clicks_, (std::vector<std::string>{"cbWindow", "cbWindow"}));
  EXPECT_EQ(changes_, (std::vector<Recorded>{{"cbWindow", TChange::Checked}, {"cbWindow", TChange::Checked}}));
  // The peer learns of each change before the handler runs.
  EXPECT_EQ(events_, (std::vector<std::string>{"peer cbWindow", "click cbWindow", "peer cbWindow", "click cbWindow"}));
}

TEST_F(ModelTest, ARadioGroupClicksOnlyWhenItsSelectionChanges) {
  group_.SetItemIndex(2);
  group_.SetItemIndex(2);
  group_.SetItemIndex(-1);
  group_.SetItemIndex(-7);  // no item: no change from -1
  group_.SetItemIndex(9);   // past the end: the last item
  EXPECT_EQ(clicks_, (std::vector<std::string>{"rgLanguage 2", "rgLanguage -1", "rgLanguage 3"}));
  EXPECT_EQ(events_, (std::vector<std::string>{"peer rgLanguage", "click rgLanguage", "peer rgLanguage", "click rgLanguage",
                                               "peer rgLanguage", "click rgLanguage"}));
  // Texts change without a click, and the selection stays.
  group_.SetItem(3, "Fran\xE7" "ais");
  group_.SetCaption("Sprache");
  EXPECT_EQ(group_.ItemIndex(), 3);
  EXPECT_EQ(group_.Items()[3], "Fran\xE7" "ais");
  EXPECT_EQ(clicks_.size(), 3u);
}

TEST_F(ModelTest, ThePeerHearsOfRealChangesOnly) {
  check_.SetCaption("Windowed mode");
  check_.SetCaption("Windowed mode");
  check_.SetEnabled(true);  // already
  check_.SetEnabled(false);
  check_.SetBounds({4, 16, 108, 20});
  check_.SetTop(16);
  form_.SetClientHeight(384);
  EXPECT_EQ(changes_, (std::vector<Recorded>{{"cbWindow", TChange::Caption},
                                             {"cbWindow", TChange::Enabled},
                                             {"cbWindow", TChange::Bounds},
                                             {"form", TChange::Caption}}));
}

TEST_F(ModelTest, TheMemoShowsItsLinesJoinedByCrLf) {
  TsMemo& memo = form_.Add<TsMemo>("Memo");
  EXPECT_EQ(memo.Text(), "");
  memo.AddLine("first");
  memo.AddLine("");
  memo.AddLine("third");
  EXPECT_EQ(memo.Text(), "first\r\n\r\nthird");
  memo.SetTextColor(RGBColor(255, 0, 0));
  EXPECT_EQ(memo.Font().Color, RGBColor(255, 0, 0));
}

TEST_F(ModelTest, ExactClassIsNotInheritance) {
  // A kin of a check box is not a check box for code that tests the class.
  class TsCheckBoxKin : public TsCheckBox {
   public:
    using TsCheckBox::TsCheckBox;
  };
  TComponent& kin = form_.Add<TsCheckBoxKin>("kin");
  EXPECT_FALSE(kin.ClassIs<TsCheckBox>());
  EXPECT_TRUE(check_.ClassIs<TsCheckBox>());
  EXPECT_FALSE(check_.ClassIs<TControl>());
  EXPECT_EQ(form_.Components().size(), 3u);
  EXPECT_EQ(form_.Components()[2].get(), &kin);  // creation order
  EXPECT_EQ(form_.FindComponent("rgLanguage"), &group_);
  EXPECT_EQ(form_.FindComponent("rglanguage"), nullptr);
}

class FailingForm : public TForm {
 public:
  void FormCreate() override {
    SetCaption("reached");
    throw std::runtime_error("List index out of bounds (5)");
  }
};

TEST(Application, AnErrorInFormCreateIsShownAndTheFormKeepsItsState) {
  std::vector<std::string> boxes;
  platform::ScopedOverrides record({.messageBox = [&](const std::string& text, const std::string& caption, std::uint32_t style) {
    boxes.push_back(caption + "|" + text + "|" + std::to_string(style));
  }});
  TApplication application;
  application.Title = "Ostrelund_Launcher";
  FailingForm form;
  application.CreateForm(form);
  EXPECT_EQ(form.Caption(), "reached");
  EXPECT_EQ(boxes, (std::vector<std::string>{"Ostrelund_Launcher|List index out of bounds (5)|16"}));
  application.Run();  // headless: shows the form and returns
  EXPECT_TRUE(form.Visible());
}

}  // namespace
