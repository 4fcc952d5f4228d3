#include "services/workbook_name.h"

#include "core/cp949.h"

#include <QFileInfo>

namespace lavodc {

namespace {

// Trimming as the program trims: codes 0x20 and below at either end.
QString trimmed(const std::string& cp949Text)
{
    QString text = QString::fromStdString(fromCp949(cp949Text));
    while (!text.isEmpty() && text.front().unicode() <= 0x20)
        text.remove(0, 1);
    while (!text.isEmpty() && text.back().unicode() <= 0x20)
        text.chop(1);
    return text;
}

bool allDigits(const QString& text)
{
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return !text.isEmpty();
}

// "yyyy-mm", or nothing when the boxes do not hold a year and a month.
QString monthText(const SheetHeader& header)
{
    const QString year = trimmed(header.gsyear);
    const QString month = trimmed(header.gmonth);
    if (year.size() != 4 || !allDigits(year) || month.size() > 2 || !allDigits(month))
        return {};
    const int number = month.toInt();
    if (number < 1 || number > 12)
        return {};
    return year + QLatin1Char('-') + QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
}

QString fileNameSafe(QString text)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || forbidden.contains(c))
            c = QLatin1Char('_');
    // Nor a hidden file's leading dot, nor the trailing dots and blanks Windows drops.
    while (!text.isEmpty() && (text.front() == QLatin1Char('.') || text.front() == QLatin1Char(' ')))
        text.remove(0, 1);
    while (!text.isEmpty() && (text.back() == QLatin1Char('.') || text.back() == QLatin1Char(' ')))
        text.chop(1);
    return text;
}

} // namespace

QString WorkbookBaseName(const SheetHeader& header, const QString& sheetFileName)
{
    const QString site = fileNameSafe(trimmed(header.gsName));
    const QString month = monthText(header);
    if (!site.isEmpty() && !month.isEmpty())
        return site + QLatin1Char(' ') + month;
    QString base = QFileInfo(sheetFileName).completeBaseName();
    if (base.isEmpty())
        base = QStringLiteral("이름없음");
    return base;
}

} // namespace lavodc
