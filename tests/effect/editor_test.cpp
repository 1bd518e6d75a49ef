#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <typeinfo>

#include "editor/IBitmapControl.h"
#include "editor/IGraphics.h"
#include "editor/IKnobMultiControl.h"
#include "editor/ITextControl.h"
#include "editor/IURLControl.h"
#include "effect/Grittlebox.h"
#include "effect/GrittleboxEditor.h"
#include "effect/ReadoutControl.h"
#include "effect/detail/ProductLink.h"
#include "lice/lice_resources.h"

namespace {

using namespace grittlebox;

// The effect finds its PNGs in the source tree instead of a bundle.
class EffectEditor : public ::testing::Test {
protected:
  void SetUp() override {
    const char* data = getenv("GRITTLEBOX_TEST_DATA");
    ASSERT_NE(data, nullptr);
    const std::string images = std::string(data) + "/../../resources/img/";
    LICE_SetResourceFolderOverride(images.c_str());
    fx = new Grittlebox(IPlugInstanceInfo());
    gui = fx->GetGUI();
  }
  void TearDown() override {
    delete fx;
    LICE_SetResourceFolderOverride(nullptr);
  }
  Grittlebox* fx = nullptr;
  IGraphics* gui = nullptr;
};

TEST_F(EffectEditor, ControlsInOrderWithTheirRectanglesParametersAndBlends) {
  ASSERT_NE(gui, nullptr);
  EXPECT_EQ(gui->Width(), 350);
  EXPECT_EQ(gui->Height(), 288);
  EXPECT_EQ(gui->FPS(), 25);
  ASSERT_EQ(gui->GetNControls(), kControlCount);
  const IChannelBlend::EBlendMethod none = IChannelBlend::kBlendNone;
  const struct {
    const std::type_info& type;
    IRECT rect;
    int paramIdx;
    IChannelBlend::EBlendMethod blend;
  } expected[] = {
      {typeid(IBitmapControl), IRECT(0, 0, 350, 288), -1, IChannelBlend::kBlendClobber},
      {typeid(IKnobMultiControl), IRECT(29, 207, 89, 267), kParamIn, none},
      {typeid(IKnobMultiControl), IRECT(254, 207, 314, 267), kParamOut, none},
      {typeid(IKnobMultiControl), IRECT(112, 68, 240, 196), kParamDistort, none},
      {typeid(IURLControl), IRECT(254, 61, 336, 139), -1, none},
      {typeid(ReadoutControl), IRECT(11, 270, 111, 290), -1, none},
      {typeid(ReadoutControl), IRECT(236, 270, 336, 290), -1, none},
      {typeid(ReadoutControl), IRECT(128, 210, 228, 230), -1, none},
  };
  for (int i = 0; i < kControlCount; ++i) {
    IControl* c = gui->GetControl(i);
    EXPECT_EQ(typeid(*c), expected[i].type) << i;
    EXPECT_EQ(*c->GetRECT(), expected[i].rect) << i;
    EXPECT_EQ(c->ParamIdx(), expected[i].paramIdx) << i;
    EXPECT_EQ(c->GetBlend()->mMethod, expected[i].blend) << i;
  }
  for (int i = kInKnobControl; i <= kDistortKnobControl; ++i) {
    auto* knob = static_cast<IKnobMultiControl*>(gui->GetControl(i));
    EXPECT_EQ(knob->GetGearing(), 4.0);
    // The first value from the plug-in is the default a double click returns to.
    EXPECT_DOUBLE_EQ(knob->GetDefaultValue(),
                     i == kDistortKnobControl ? (50.0 - 0.01) / 99.99 : 0.5);
  }
}

TEST_F(EffectEditor, ReadoutsStartWithTheirTextsInTheReadoutStyleAndFollowTheParameters) {
  const char* initial[] = {"0.00 db", "0.00 db", "50 %"};
  for (int i = 0; i < kParamCount; ++i) {
    auto* readout = static_cast<ITextControl*>(gui->GetControl(kInReadoutControl + i));
    EXPECT_TRUE(readout->TextEquals(initial[i])) << i;
    const IText* style = readout->GetText();
    EXPECT_STREQ(style->mFont, "Tahoma Bold");
    EXPECT_EQ(style->mSize, 13);
    EXPECT_EQ(style->mColor, COLOR_LIGHT);
    EXPECT_EQ(style->mAlign, IText::kAlignCenter);
    EXPECT_EQ(style->mQuality, IText::kQualityNonAntiAliased);
  }
  // A change from the editor rewrites the readout through the effect.
  fx->SetParameterFromGUI(kParamDistort, 1.0);
  EXPECT_TRUE(
      static_cast<ITextControl*>(gui->GetControl(kDistortReadoutControl))->TextEquals("100 %"));
  fx->SetParameterFromGUI(kParamOut, 0.25);
  EXPECT_TRUE(
      static_cast<ITextControl*>(gui->GetControl(kOutReadoutControl))->TextEquals("-10.00 dB"));
}

TEST_F(EffectEditor, LinkOpensTheConfiguredPageOrTheBundledManual) {
  const char* url = static_cast<IURLControl*>(gui->GetControl(kLinkControl))->GetURL();
  EXPECT_EQ(ProductLinkAddress(), url);
  const std::string address = url;
  if (address.rfind("file://", 0) == 0) {
    const std::string tail = "/Resources/manual/index.html";
    ASSERT_GE(address.size(), tail.size());
    EXPECT_EQ(address.substr(address.size() - tail.size()), tail);
  } else {
    EXPECT_FALSE(address.empty());
  }
}

TEST(ProductLink, FileAddressesEscapeWhatIsNotAPlainPathCharacter) {
  const struct {
    const char* path;
    const char* address;
  } cases[] = {
      {"/usr/lib/vst3/Grittlebox.vst3/index.html",
       "file:///usr/lib/vst3/Grittlebox.vst3/index.html"},
      {"/home/a b/x~_-.html", "file:///home/a%20b/x~_-.html"},
      {"/m\xC3\xBCsik/#?%", "file:///m%C3%BCsik/%23%3F%25"},
  };
  for (const auto& c : cases) EXPECT_EQ(FileAddress(c.path), c.address) << c.path;
}

} // namespace
