// Which skinner the manager gives what it meets: controls of other libraries by the kind their
// Skin3rd line names, and popup menus as they show, when the component's SkinControls has them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "platform/forms/ControlProperties.h"
#include "platform/forms/Form.h"
#include "skin/forms/SkinControl.h"
#include "skin/forms/SkinManage.h"
#include "skin/forms/WinSkinData.h"
#include "tests/skin/TestSkin.h"

namespace {

const char* skinnerName(QWidget* control) {
  TSkinControl* skinner = SkinnerOf(control);
  return skinner ? skinner->ClassName() : "none";
}

template <class W>
W* thirdParty(QWidget* parent, const char* className, int top) {
  auto* control = Place(new W(parent), className, 10, top, 120, 24);
  control->setProperty(kClassNameProperty, QString::fromLatin1(className));
  return control;
}

class SkinRulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner = std::make_unique<TComponent>(nullptr);
    owner->BeginLoading();
    data = new TSkinData(owner.get());
    data->ReadSkinStream(testskin::Stream());
    ASSERT_FALSE(data->Empty()) << data->LoadError();
    data->SetActive(true);
  }

  TSkinManage& start() {
    owner->EndLoading();
    TSkinManage& manager = *TSkinManage::Instance();
    EXPECT_TRUE(QTest::qWaitFor([&] { return manager.Active(); }));
    return manager;
  }

  void TearDown() override { owner.reset(); }

  // A menu of two items, open at a point of the screen, as the window's grab sees it.
  static QImage shown(QMenu& menu) {
    menu.addAction(QStringLiteral("复制"));
    menu.addAction(QStringLiteral("查诗词"));
    menu.popup({120, 120});
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&menu));
    return testskin::Grab(menu);
  }

  std::unique_ptr<TComponent> owner;
  TSkinData* data = nullptr;
};

}  // namespace

TEST_F(SkinRulesTest, Skin3rdKindsGiveTheSkinnerOfTheirKind) {
  data->Skin3rd().Add("TPoemField=edit");
  data->Skin3rd().Add("TPoemKey=button");
  TForm window("Sample");
  window.resize(300, 260);
  // Lines of the program's own and of the default list, where a name may differ in case from
  // the class ("TLMDEDIT=edit").
  QLineEdit* field = thirdParty<QLineEdit>(&window, "TPoemField", 10);
  QPushButton* key = thirdParty<QPushButton>(&window, "TPoemKey", 40);
  QLineEdit* lmdEdit = thirdParty<QLineEdit>(&window, "TLMDEdit", 70);
  QPushButton* rzButton = thirdParty<QPushButton>(&window, "TRzButton", 100);
  QLineEdit* buttonEdit = thirdParty<QLineEdit>(&window, "TRzButtonEdit", 130);
  window.show();
  TSkinManage& manager = start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return manager.SkinnerOf(&window) != nullptr; }));

  EXPECT_STREQ(skinnerName(field), "TSkinEdit");
  EXPECT_STREQ(skinnerName(lmdEdit), "TSkinEdit");
  EXPECT_STREQ(skinnerName(buttonEdit), "TSkinEdit");
  EXPECT_STREQ(skinnerName(key), "TSkinButton");
  EXPECT_STREQ(skinnerName(rzButton), "TSkinButton");
}

TEST_F(SkinRulesTest, AnEditKindIsLeftAloneWhenEditsAreNotSkinned) {
  data->Skin3rd().Add("TPoemField=edit");
  TSkinControls controls = data->SkinControls();
  controls.Exclude(xcEdit);
  data->SetSkinControls(controls);
  TForm window("Sample");
  window.resize(300, 100);
  QLineEdit* field = thirdParty<QLineEdit>(&window, "TPoemField", 10);
  QPushButton* key = thirdParty<QPushButton>(&window, "TRzButton", 40);
  window.show();
  TSkinManage& manager = start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return manager.SkinnerOf(&window) != nullptr; }));
  EXPECT_STREQ(skinnerName(field), "none");
  EXPECT_STREQ(skinnerName(key), "TSkinButton");
}

TEST_F(SkinRulesTest, APopupMenuIsSkinnedAsItShowsAndGivenBackWithTheSkin) {
  TSkinManage& manager = start();
  QMenu menu;
  QImage image = shown(menu);
  const QColor background = testskin::FrameColour("MenuBackground", 0);
  EXPECT_EQ(image.pixelColor(0, 0), background);
  EXPECT_GT(testskin::Count(image, background), image.width() * image.height() * 3 / 4);
  EXPECT_NE(menu.style(), QApplication::style());
  EXPECT_EQ(menu.palette().color(QPalette::Window), testskin::FaceColour()) << "the skin's menu colour";

  data->SetActive(false);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !manager.Active(); }));
  image = testskin::Grab(menu);
  EXPECT_EQ(testskin::Count(image, background), 0);
  EXPECT_EQ(menu.style(), QApplication::style());
  menu.hide();
}

TEST_F(SkinRulesTest, APopupMenuKeepsThePlatformDrawingWhenPopupMenusAreNotSkinned) {
  TSkinControls controls = data->SkinControls();
  controls.Exclude(xcPopupMenu);
  data->SetSkinControls(controls);
  start();
  QMenu menu;
  const QImage image = shown(menu);
  EXPECT_EQ(testskin::Count(image, testskin::FrameColour("MenuBackground", 0)), 0);
  EXPECT_EQ(menu.style(), QApplication::style());
  menu.hide();
}
