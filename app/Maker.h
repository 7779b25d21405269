#pragma once
// The maker's web site. The name lies under .invalid, a domain that is reserved never to
// exist, until the reader has a site of its own.

#include <QString>

inline const QString kMakerHost = QStringLiteral("www.tavrin.invalid");
inline const QString kHomePage = QStringLiteral("http://www.tavrin.invalid/");
inline const QString kStatisticsPage = QStringLiteral("http://www.tavrin.invalid/softtj.php?soft=shici&ref=shuoming");
