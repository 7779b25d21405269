// The classical readings, each in a line of its poem (or as the word itself) read through the
// dictionary the build made from the data package, and famous lines read through it whole.

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/text/ClassicalReadings.h"
#include "platform/text/CodePoints.h"
#include "platform/text/PinyinLine.h"
#include "tests/pinyin/pinyin_fixture.h"

using pinyin_test::RealReader;

namespace {

struct Line {
  const char* Text;
  const char* Pinyin;
};

// Lines that hold the classical readings, as school editions and the dictionaries read them.
constexpr Line kClassicalLines[] = {
    {"朝辞白帝彩云间，千里江陵一日还", "zhāo cí bái dì cǎi yún jiān，qiān lǐ jiāng líng yī rì huán"},
    {"朝发白帝，暮到江陵", "zhāo fā bái dì，mù dào jiāng líng"},
    {"又岂在朝朝暮暮", "yòu qǐ zài zhāo zhāo mù mù"},
    {"譬如朝露，去日苦多", "pì rú zhāo lù，qù rì kǔ duō"},
    {"明朝有意抱琴来", "míng zhāo yǒu yì bào qín lái"},
    {"青春作伴好还乡", "qīng chūn zuò bàn hǎo huán xiāng"},
    {"还家", "huán jiā"},
    {"归还", "guī huán"},
    {"问君何时还", "wèn jūn hé shí huán"},
    {"春风又绿江南岸，明月何时照我还", "chūn fēng yòu lǜ jiāng nán àn，míng yuè hé shí zhào wǒ huán"},
    {"黄沙百战穿金甲，不破楼兰终不还", "huáng shā bǎi zhàn chuān jīn jiǎ，bù pò lóu lán zhōng bù huán"},
    {"秦时明月汉时关，万里长征人未还", "qín shí míng yuè hàn shí guān，wàn lǐ cháng zhēng rén wèi huán"},
    {"但使龙城飞将在，不教胡马度阴山", "dàn shǐ lóng chéng fēi jiàng zài，bù jiāo hú mǎ dù yīn shān"},
    {"将进酒", "qiāng jìn jiǔ"},
    {"单于夜遁逃", "chán yú yè dùn táo"},
    {"可汗大点兵", "kè hán dà diǎn bīng"},
    {"阏氏", "yān zhī"},
    {"吐蕃", "tǔ bō"},
    {"吐谷浑", "tǔ yù hún"},
    {"龟兹", "qiū cí"},
    {"大宛", "dà yuān"},
    {"会稽", "kuài jī"},
    {"梦游天姥吟留别", "mèng yóu tiān mǔ yín liú bié"},
    {"燕然未勒归无计", "yān rán wèi lè guī wú jì"},
    {"登乐游原", "dēng lè yóu yuán"},
    {"鹿柴", "lù zhài"},
    {"返景入深林，复照青苔上", "fǎn yǐng rù shēn lín，fù zhào qīng tái shàng"},
    {"参差荇菜，左右流之", "cēn cī xìng cài，zuǒ yòu liú zhī"},
    {"少小离家老大回，乡音无改鬓毛衰", "shào xiǎo lí jiā lǎo dà huí，xiāng yīn wú gǎi bìn máo cuī"},
    {"远上寒山石径斜，白云深处有人家", "yuǎn shàng hán shān shí jìng xié，bái yún shēn chù yǒu rén jiā"},
    {"长安回望绣成堆，山顶千门次第开。一骑红尘妃子笑", "cháng ān huí wàng xiù chéng duī，shān dǐng qiān mén cì dì kāi。yī qí hóng chén fēi zǐ xiào"},
    {"了却君王天下事", "liǎo què jūn wáng tiān xià shì"},
    {"渭城朝雨浥轻尘", "wèi chéng zhāo yǔ yì qīng chén"},
    {"三更灯火五更鸡", "sān gēng dēng huǒ wǔ gēng jī"},
    {"开轩面场圃，把酒话桑麻", "kāi xuān miàn cháng pǔ，bǎ jiǔ huà sāng má"},
    {"参差荇菜，左右芼之", "cēn cī xìng cài，zuǒ yòu mào zhī"},
    {"应怜屐齿印苍苔", "yīng lián jī chǐ yìn cāng tái"},
    {"京口瓜洲一水间，钟山只隔数重山", "jīng kǒu guā zhōu yī shuǐ jiān，zhōng shān zhǐ gé shù chóng shān"},
    {"蒹葭苍苍，白露为霜", "jiān jiā cāng cāng，bái lù wéi shuāng"},
    {"窈窕淑女，钟鼓乐之", "yǎo tiǎo shū nǚ，zhōng gǔ lè zhī"},
    {"千金散尽还复来", "qiān jīn sàn jìn huán fù lái"},
    {"奉和圣制送张说巡边", "fèng hè shèng zhì sòng zhāng yuè xún biān"},
    {"葛覃", "gé tán"},
    {"岑参", "cén shēn"},
    {"与元九唱和", "yǔ yuán jiǔ chàng hè"},
    {"詶乐天频梦微之", "chóu lè tiān pín mèng wēi zhī"},
};

}  // namespace

TEST(ClassicalReadings, EachIsOneSyllableACharacterThatADictionaryHolds) {
  // Written through the dictionary's own writer, which refuses what its loader would.
  std::vector<text::PinyinEntry> entries;
  for (const text::ClassicalReading& reading : text::ClassicalReadings()) {
    entries.push_back({text::codePointsToUtf8(reading.Phrase), std::string(reading.Reading), 1e-10});
    EXPECT_FALSE(reading.Source.empty()) << entries.back().Word;
  }
  const pinyin_test::TempFolder folder;
  EXPECT_NO_THROW(text::WritePinyinDictionary(folder.path() / "classical.pinyin", entries));
}

TEST(ClassicalReadings, EachHasALineHere) {
  for (const text::ClassicalReading& reading : text::ClassicalReadings())
    EXPECT_TRUE(std::any_of(std::begin(kClassicalLines), std::end(kClassicalLines),
                            [&](const Line& line) { return text::utf8ToCodePoints(line.Text).find(reading.Phrase) != std::u32string::npos; }))
        << text::codePointsToUtf8(reading.Phrase) << " is read in none of the lines";
}

TEST(ClassicalReadings, ReadInTheirLinesThroughTheRealDictionary) {
  const text::PinyinReader* reader = RealReader();
  if (!reader) GTEST_SKIP() << "configured without SICI_PINYIN_DATA_DIR";
  for (const Line& line : kClassicalLines) EXPECT_EQ(text::PinyinLine(*reader, line.Text), line.Pinyin) << line.Text;
}

TEST(ClassicalReadings, FamousLinesThroughTheRealDictionary) {
  const text::PinyinReader* reader = RealReader();
  if (!reader) GTEST_SKIP() << "configured without SICI_PINYIN_DATA_DIR";
  const Line lines[] = {
      {"床前明月光，疑是地上霜。举头望明月，低头思故乡。",
       "chuáng qián míng yuè guāng，yí shì dì shàng shuāng。jǔ tóu wàng míng yuè，dī tóu sī gù xiāng。"},
      {"春眠不觉晓，处处闻啼鸟", "chūn mián bù jué xiǎo，chù chù wén tí niǎo"},
      {"两个黄鹂鸣翠柳，一行白鹭上青天", "liǎng gè huáng lí míng cuì liǔ，yī háng bái lù shàng qīng tiān"},
      {"儿童相见不相识，笑问客从何处来", "ér tóng xiāng jiàn bù xiāng shí，xiào wèn kè cóng hé chù lái"},
      {"葡萄美酒夜光杯，欲饮琵琶马上催", "pú táo měi jiǔ yè guāng bēi，yù yǐn pí pá mǎ shàng cuī"},
      {"长安一片月，万户捣衣声", "cháng ān yī piàn yuè，wàn hù dǎo yī shēng"},
      // Traditional writing reads as the simplified does.
      {"長安一片月，萬戶擣衣聲", "cháng ān yī piàn yuè，wàn hù dǎo yī shēng"},
      {"單于夜遁逃", "chán yú yè dùn táo"},
      // Old and variant forms the data package lacks read through their variants in Unihan, and
      // rare characters of names through Unihan's own reading.
      {"十年磨一劒", "shí nián mó yī jiàn"},
      {"鴈字回時", "yàn zì huí shí"},
      {"荅李滁州", "dá lǐ chú zhōu"},
      {"南有樛木", "nán yǒu jiū mù"},
  };
  for (const Line& line : lines) EXPECT_EQ(text::PinyinLine(*reader, line.Text), line.Pinyin) << line.Text;
}
