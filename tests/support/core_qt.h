#pragma once
// The core's text and geometry beside Qt's in the tests: comparisons of
// std::string with QString, readable values in QCOMPARE's messages, and the
// conversions of the desktop.
#include "desktop/qt_types.h"
#include "runtime/picture.h"
#include "runtime/text.h"

#include <QString>
#include <QStringList>
#include <QTest>
#include <string>
#include <vector>

inline bool operator==(const std::string& a, const QString& b)
{
    return QString::fromStdString(a) == b;
}
inline bool operator==(const QString& a, const std::string& b)
{
    return a == QString::fromStdString(b);
}
inline bool operator!=(const std::string& a, const QString& b)
{
    return !(a == b);
}
inline bool operator!=(const QString& a, const std::string& b)
{
    return !(a == b);
}

inline bool operator==(const tuvrel::Rect& a, const QRect& b)
{
    return tuvrel::toQt(a) == b;
}
inline bool operator!=(const tuvrel::Rect& a, const QRect& b)
{
    return !(a == b);
}
inline bool operator==(const tuvrel::Point& a, const QPoint& b)
{
    return tuvrel::toQt(a) == b;
}
inline bool operator!=(const tuvrel::Point& a, const QPoint& b)
{
    return !(a == b);
}
inline bool operator==(const tuvrel::Size& a, const QSize& b)
{
    return tuvrel::toQt(a) == b;
}
inline bool operator!=(const tuvrel::Size& a, const QSize& b)
{
    return !(a == b);
}

namespace QTest {
template <>
inline char* toString(const std::string& t)
{
    return QTest::toString(QString::fromStdString(t));
}
template <>
inline char* toString(const tuvrel::Rect& t)
{
    return qstrdup(
        QStringLiteral("Rect(%1,%2 %3x%4)").arg(t.left()).arg(t.top()).arg(t.width()).arg(t.height()).toUtf8());
}
template <>
inline char* toString(const tuvrel::Point& t)
{
    return qstrdup(QStringLiteral("Point(%1,%2)").arg(t.x).arg(t.y).toUtf8());
}
template <>
inline char* toString(const tuvrel::Size& t)
{
    return qstrdup(QStringLiteral("Size(%1x%2)").arg(t.width).arg(t.height).toUtf8());
}
}  // namespace QTest

namespace tuvrel::test {
// A core text as Qt's, for messages and Qt's string functions.
inline QString qs(std::string_view text)
{
    return toQt(text);
}
// Core texts (messages of the invariants, say) as Qt's list.
inline QStringList qs(const std::vector<std::string>& texts)
{
    QStringList list;
    for (const std::string& t : texts)
        list << QString::fromStdString(t);
    return list;
}
// A core name from Qt's text.
inline std::string cs(const QString& text)
{
    return text.toStdString();
}
inline QString assetName(const Picture& picture)
{
    return toQt(picture.assetName());
}
}  // namespace tuvrel::test
