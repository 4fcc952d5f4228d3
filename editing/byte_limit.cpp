#include "editing/byte_limit.h"

#include "core/cp949.h"
#include "editing/paste_filter.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QValidator>

#include <optional>

namespace lavodc {

namespace {

// The CP949 bytes of `text`, or nothing when a character has no code there.
std::optional<std::string> encoded(const QString& text)
{
    try {
        return toCp949(text.toStdString());
    } catch (const EncodingError&) {
        return std::nullopt;
    }
}

class ByteValidator : public QValidator {
public:
    ByteValidator(FitsRule fits, QObject* parent) : QValidator(parent), fits_(std::move(fits)) {}

    State validate(QString& input, int&) const override
    {
        const auto bytes = encoded(input);
        return bytes && fits_(*bytes) ? Acceptable : Invalid;
    }

    bool fits(const QString& text) const
    {
        const auto bytes = encoded(text);
        return bytes && fits_(*bytes);
    }

private:
    FitsRule fits_;
};

// Input method events do not pass the validator before they are shown, so they are
// trimmed here: the commit to the characters that fit, the composition to nothing when
// it would not fit after the commit.
class InputMethodLimit : public QObject {
public:
    InputMethodLimit(QLineEdit* box, const ByteValidator* validator)
        : QObject(box), box_(box), validator_(validator) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != box_ || event->type() != QEvent::InputMethod || reentered_)
            return false;
        auto* ime = static_cast<QInputMethodEvent*>(event);
        QString base = box_->text();
        int cursor = box_->cursorPosition();
        if (box_->hasSelectedText()) {
            cursor = box_->selectionStart();
            base.remove(cursor, box_->selectedText().size());
        }
        QString commit;
        for (const QChar ch : ime->commitString()) {
            QString candidate = base;
            candidate.insert(cursor, commit + ch);
            if (!validator_->fits(candidate))
                break;
            commit += ch;
        }
        QString after = base;
        after.insert(cursor, commit);
        QString preedit = ime->preeditString();
        QString withPreedit = after;
        withPreedit.insert(cursor + commit.size(), preedit);
        const bool preeditFits = preedit.isEmpty() || validator_->fits(withPreedit);
        if (commit == ime->commitString() && preeditFits)
            return false;

        QInputMethodEvent trimmed(preeditFits ? preedit : QString(),
                                  preeditFits ? ime->attributes() : QList<QInputMethodEvent::Attribute>());
        trimmed.setCommitString(commit, ime->replacementStart(), ime->replacementLength());
        reentered_ = true;
        QCoreApplication::sendEvent(box_, &trimmed);
        reentered_ = false;
        return true;
    }

private:
    QLineEdit* box_;
    const ByteValidator* validator_;
    bool reentered_ = false;
};

} // namespace

void LimitBytes(QLineEdit* box, int maxBytes, CharacterRule accepts)
{
    LimitBytes(box, [maxBytes](const std::string& bytes) { return int(bytes.size()) <= maxBytes; }, std::move(accepts));
}

void LimitBytes(QLineEdit* box, FitsRule fits, CharacterRule accepts)
{
    auto* validator = new ByteValidator(std::move(fits), box);
    box->setValidator(validator);
    box->installEventFilter(new InputMethodLimit(box, validator));
    FilterPastes(box, [validator, accepts](const QLineEdit& target, const QString& pasted) {
        QString kept;
        for (const QChar c : pasted) {
            if ((accepts && !accepts(c)) || !encoded(QString(c)))
                continue;   // refused as typing would refuse it
            if (!validator->fits(TextAfterInsert(target, kept + c)))
                break;
            kept += c;
        }
        return kept;
    });
}

} // namespace lavodc
