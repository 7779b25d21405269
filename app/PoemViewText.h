#pragma once
// How the poem view lays a poem out (siciShow.cpp writes it), for the parts that read it back:
// the pinyin over the title, author and lines, and the columns made from them. A poem is the
// heading lines, a blank line, its lines, the line naming its source, then the sections, each
// beginning with 【.

#include <QChar>
#include <QString>

inline const QString kTitleHeading = QStringLiteral("【标题】：");
inline const QString kAuthorHeading = QStringLiteral("【作者】：");
inline const QString kDynastyHeading = QStringLiteral("【朝代】：");
inline const QString kSourceHeading = QStringLiteral("出处：");
inline constexpr QChar kSectionMark{0x3010};  // 【
