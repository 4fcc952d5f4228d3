#include "editing/box_text.h"

#include "core/cp949.h"

#include <QLineEdit>
#include <QVariant>

namespace lavodc {

namespace {

constexpr const char* kStoredBytes = "lavodcStoredBytes";
constexpr const char* kShownText = "lavodcShownText";

} // namespace

QString ShownText(std::string_view cp949)
{
    return QString::fromStdString(fromCp949(WithoutDanglingHalf(cp949)));
}

std::string TypedBytes(const QString& text)
{
    try {
        return toCp949(text.toStdString());
    } catch (const EncodingError&) {
        std::string bytes;
        for (const QChar ch : text) {
            try {
                bytes += toCp949(QString(ch).toStdString());
            } catch (const EncodingError&) {
                bytes += '?';
            }
        }
        return bytes;
    }
}

void ShowBytes(QLineEdit* box, std::string_view cp949)
{
    const QString shown = ShownText(cp949);
    box->setText(shown);
    box->setCursorPosition(0);
    box->setProperty(kStoredBytes, QByteArray(cp949.data(), qsizetype(cp949.size())));
    box->setProperty(kShownText, shown);
}

std::string BoxBytes(const QLineEdit* box)
{
    const QVariant shown = box->property(kShownText);
    if (shown.isValid() && shown.toString() == box->text())
        return box->property(kStoredBytes).toByteArray().toStdString();
    return TypedBytes(box->text());
}

} // namespace lavodc
