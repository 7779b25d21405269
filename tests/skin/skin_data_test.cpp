// The skin component: its settings and their defaults, the class list it starts with, the skin
// stream of a window description, and what loading does with good and bad skin files.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>

#include <QApplication>
#include <QBuffer>
#include <QLabel>
#include <QMessageBox>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "platform/forms/Dialogs.h"
#include "platform/forms/Form.h"
#include "skin/SkinWrite.h"
#include "skin/forms/SkinManage.h"
#include "skin/forms/WinSkinData.h"
#include "tests/skin/TestSkin.h"

namespace {

// Answers every box and remembers what it said.
struct BoxRecorder {
  std::vector<TMessageBoxRequest> boxes;
  TMessageBoxPresenter previous = SetMessageBoxPresenter([this](const TMessageBoxRequest& r) {
    boxes.push_back(r);
    return static_cast<int>(mrOk);
  });
  ~BoxRecorder() { SetMessageBoxPresenter(previous); }
};

// A skin file whose container claims `version`, otherwise sound.
std::string skinFileOfVersion(std::int32_t version) {
  std::string container = WriteSkinContainer(70000, {{"a.ini", "[TitlebarSkin]\r\nSkinName=x\r\n"}});
  std::memcpy(container.data(), &version, 4);
  return CompressSkin(container);
}

}  // namespace

TEST(SkinData, StartsWithItsDefaults) {
  TSkinData data(nullptr);
  EXPECT_FALSE(data.Active());
  EXPECT_EQ(data.DisableTag(), 99);
  TSkinControls expected = TSkinControls::FromBits((1u << 22) - 1);
  expected.Exclude(xcMenuItem);
  expected.Exclude(xcFastReport);
  EXPECT_EQ(data.SkinControls(), expected);
  EXPECT_EQ(data.Options(), (TSkinOptions{xoPreview, xoToolbarBK, xoCaptionButtonHint}));
  EXPECT_EQ(data.Options().Bits(), (1u << 3) | (1u << 6) | (1u << 10));
  EXPECT_EQ(data.SkinFile(), "");
  EXPECT_EQ(data.SkinFormtype(), sfMainform);
  EXPECT_TRUE(data.MenuUpdate());
  EXPECT_FALSE(data.MenuMerge());
  EXPECT_TRUE(data.Empty());
  EXPECT_EQ(data.SkinStore(), "(none)");

  data.SetVersion("1.0");
  data.SetSkinStore("(Good)");
  EXPECT_EQ(data.Version(), "5.60.03.29");
  EXPECT_EQ(data.SkinStore(), "(none)");
}

TEST(SkinData, TheClassListMapsItsClassesInOrderToTheirKinds) {
  TSkinData data(nullptr);
  const TStrings& lines = data.Skin3rd();
  ASSERT_EQ(lines.Count(), 118);
  EXPECT_EQ(lines[0], "TCategoryButtons=scrollbar");
  EXPECT_EQ(lines[7], "TComboboxex=combobox");
  EXPECT_EQ(lines[117].substr(0, lines[117].find('=')), "TOVCDBNUMERICFIELD");
  std::map<std::string, int> byKind;
  for (int i = 0; i < lines.Count(); ++i) ++byKind[lines[i].substr(lines[i].find('=') + 1)];
  const std::map<std::string, int> expected = {
      {"combobox", 39}, {"edit", 26},       {"panel", 15},      {"scrollbar", 10},   {"radiogroup", 7},
      {"checkbox", 4},  {"bitbtn", 3},      {"checkgroup", 3},  {"speedbutton", 3},  {"groupbox", 2},
      {"radiobutton", 2}, {"button", 1},    {"menubtn", 1},     {"pngbitbtn", 1},    {"pngspeedbutton", 1}};
  EXPECT_EQ(byKind, expected);
}

TEST(SkinData, ASkinStreamLoadsAndWritesBackTheSameBytes) {
  TSkinData data(nullptr);
  const std::string stream = testskin::Stream();
  data.ReadSkinStream(stream);
  ASSERT_FALSE(data.Empty()) << data.LoadError();
  EXPECT_EQ(data.SkinStore(), "(Good)");
  EXPECT_EQ(data.WriteSkinStream(), stream);
  EXPECT_EQ(data.Description()->Container.Version, 70000);
  // Every image the description names is decoded, whatever name it is asked for by.
  ASSERT_NE(data.Picture("groupbox"), nullptr);
  EXPECT_EQ(data.Picture("GROUPBOX"), data.Picture("GroupBox"));
  EXPECT_NE(data.Picture("Buttons"), nullptr);
  EXPECT_EQ(data.Picture("NoSuchSection"), nullptr);
  EXPECT_EQ(data.FaceBrush().color(), SkinColour(data.Colours().ButtonFace));
}

TEST(SkinData, KeyedImagesLoseTheirKeyColourAndOnlyThey) {
  // The push button bitmap is always keyed; "GroupBox" only with Trans=1, which the test skin
  // does not write. Both get a magenta corner.
  std::vector<TSkinFileData> files = testskin::Files();
  for (TSkinFileData& file : files) {
    if (file.Name != "buttons.bmp" && file.Name != "groupbox.bmp") continue;
    QImage image;
    ASSERT_TRUE(image.loadFromData(reinterpret_cast<const uchar*>(file.Bytes.data()), static_cast<int>(file.Bytes.size()), "BMP"));
    image.setPixel(0, 0, kSkinKeyColour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
    file.Bytes.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  }
  TSkinData data(nullptr);
  data.ReadSkinStream(SkinStreamOf(CompressSkin(WriteSkinContainer(70000, files))));
  ASSERT_FALSE(data.Empty()) << data.LoadError();
  const TSkinPicture* button = data.Picture("Buttons");
  const TSkinPicture* group = data.Picture("GroupBox");
  ASSERT_TRUE(button && group);
  EXPECT_EQ(qAlpha(button->Image.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(button->Image.pixel(1, 0)), 255);
  EXPECT_EQ(group->Image.pixel(0, 0), kSkinKeyColour);
}

TEST(SkinData, DamagedOrShortStreamsLeaveNoSkin) {
  BoxRecorder boxes;
  const std::string good = testskin::Stream();
  for (const std::string& bad : {std::string(), good.substr(0, 3), good.substr(0, good.size() / 2),
                                 SkinStreamOf("\x10\x00\x00\x00garbage"), SkinStreamOf(std::string(4, '\xFF'))}) {
    TSkinData data(nullptr);
    data.ReadSkinStream(bad);
    EXPECT_TRUE(data.Empty());
    EXPECT_EQ(data.Picture("GroupBox"), nullptr);
  }
  EXPECT_TRUE(boxes.boxes.empty()) << "only an unknown version is worth a message";
}

TEST(SkinData, AnUnknownVersionSaysSoInAPlainBoxAndLoadsNothing) {
  BoxRecorder boxes;
  TSkinData data(nullptr);
  data.ReadSkinStream(SkinStreamOf(skinFileOfVersion(10000)));
  EXPECT_TRUE(data.Empty());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("This is Older Skin File\rPlease update to new version !"));
  EXPECT_EQ(boxes.boxes[0].type, TMsgDlgType::mtCustom);

  // A known version of the same shape loads.
  TSkinData known(nullptr);
  known.ReadSkinStream(SkinStreamOf(skinFileOfVersion(20000)));
  EXPECT_EQ(boxes.boxes.size(), 1u);
}

TEST(SkinData, TheOlderSkinBoxIsPlainAndBreaksItsLineWhereTheMessageDoes) {
  QString text;
  QMessageBox::Icon icon = QMessageBox::Critical;
  QTimer::singleShot(0, [&] {
    QTest::qWaitFor([] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr; });
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) text = label->text();
      icon = box->icon();
      box->accept();
    }
  });
  TSkinData data(nullptr);
  data.ReadSkinStream(SkinStreamOf(skinFileOfVersion(10000)));
  EXPECT_TRUE(data.Empty());
  EXPECT_EQ(icon, QMessageBox::NoIcon);
  EXPECT_EQ(text, QStringLiteral("This is Older Skin File\nPlease update to new version !"));
}

TEST(SkinData, LoadingEndsWithTheMenuRuleAndClearsActiveWithoutASkin) {
  TComponent owner(nullptr);
  owner.BeginLoading();
  auto* withMenu = new TSkinData(&owner);
  TSkinControls menus = withMenu->SkinControls();
  menus.Include(xcMenuItem);
  withMenu->SetSkinControls(menus);
  auto* withoutMenu = new TSkinData(&owner);
  TSkinControls noMain = withoutMenu->SkinControls();
  noMain.Exclude(xcMainMenu);
  withoutMenu->SetSkinControls(noMain);
  withoutMenu->SetActive(true);
  owner.EndLoading();

  EXPECT_FALSE(withMenu->SkinControls().Contains(xcMenuItem)) << "removed although it was set";
  EXPECT_TRUE(withMenu->SkinControls().Contains(xcSystemMenu));
  EXPECT_FALSE(withoutMenu->SkinControls().Contains(xcSystemMenu));
  EXPECT_FALSE(withoutMenu->Active()) << "no skin is loaded";
  ASSERT_NE(TSkinManage::Instance(), nullptr);
}

TEST(SkinData, ActiveAsksTheManagerAfterAQuarterSecond) {
  TComponent owner(nullptr);
  owner.BeginLoading();
  auto* data = new TSkinData(&owner);
  data->ReadSkinStream(testskin::Stream());
  data->SetActive(true);
  EXPECT_FALSE(TSkinManage::Instance() && TSkinManage::Instance()->Timer().isActive() &&
               TSkinManage::Instance()->Data() == data)
      << "nothing happens while the description is read";
  owner.EndLoading();
  TSkinManage& manager = *TSkinManage::Instance();
  EXPECT_EQ(manager.Data(), data);
  EXPECT_EQ(manager.PendingAction(), saSkin);
  EXPECT_TRUE(manager.Timer().isActive());
  EXPECT_EQ(manager.Timer().interval(), 250);

  data->SetActive(false);
  EXPECT_EQ(manager.PendingAction(), saUnskin);
  EXPECT_EQ(manager.Timer().interval(), 250);
}

TEST(SkinData, ASkinFileReplacesTheSkinAndTellsSo) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("other.skn").toStdString();
  {
    std::ofstream out(path, std::ios::binary);
    const std::string stream = testskin::Stream(1);
    const std::string_view file = SkinStreamImage(stream);
    out.write(file.data(), static_cast<std::streamsize>(file.size()));
  }
  TSkinData data(nullptr);
  data.ReadSkinStream(testskin::Stream());
  int changed = 0;
  data.OnSkinChanged = [&](TObject&) { ++changed; };

  data.SetSkinFile(dir.filePath("missing.skn").toStdString());
  EXPECT_EQ(changed, 0);
  EXPECT_EQ(data.WriteSkinStream(), testskin::Stream()) << "a missing file changes nothing";

  data.SetSkinFile(path);
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(SkinColour(data.Colours().ButtonFace), testskin::FaceColour(1));
}

TEST(SkinData, AComponentOfOneWindowSkinsItAtOnceAndNoOtherWindow) {
  for (const TSkinFormType type : {sfOnlyThisForm, sfDialog, sfDLL}) {
    SCOPED_TRACE(type);
    TForm own("Own");
    own.resize(300, 200);
    own.show();
    TForm other("Other");
    other.resize(200, 100);
    other.show();
    auto owner = std::make_unique<TComponent>(nullptr);
    owner->BeginLoading();
    auto* data = new TSkinData(owner.get(), &own);
    data->SetSkinFormtype(type);
    data->ReadSkinStream(testskin::Stream());
    data->SetActive(true);
    owner->EndLoading();

    TSkinManage& manager = *TSkinManage::Instance();
    EXPECT_TRUE(manager.SingleWindow());
    ASSERT_NE(manager.SkinnerOf(&own), nullptr) << "skinned at once";
    other.activateWindow();
    QApplication::setActiveWindow(&other);
    QTest::qWait(400);
    EXPECT_EQ(manager.SkinnerOf(&other), nullptr) << "the other window keeps the platform's drawing";

    // Off and on again through the manager's timer: still the own window only.
    data->SetActive(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return manager.SkinnerOf(&own) == nullptr; }));
    data->SetActive(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return manager.SkinnerOf(&own) != nullptr; }));
    EXPECT_EQ(manager.SkinnerOf(&other), nullptr);
    owner.reset();
    EXPECT_EQ(manager.SkinnerOf(&own), nullptr) << "the component going away unskins its window";
  }
}
