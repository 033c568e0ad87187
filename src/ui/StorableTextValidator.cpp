#include "ui/StorableTextValidator.h"

#include <QLabel>
#include <QLineEdit>
#include <QToolTip>

#include <algorithm>

StorableTextValidator::StorableTextValidator(Keeps keeps, PlainLetters plainLetters, QObject* parent)
    : QValidator(parent)
    , m_keeps(keeps)
    , m_plainLetters(plainLetters) {}

StorableTextValidator::Kept StorableTextValidator::keep(QStringView text) const {
    // Below U+0300 there are neither combining accents nor characters that NFC changes: such a text
    // is its own NFC form, and all of plain Italian text takes this way.
    const bool composed = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x300; });
    if (composed && std::all_of(text.begin(), text.end(), [this](QChar c) { return m_keeps(c.unicode()); }))
        return {text.toString(), std::nullopt};

    const QString nfc = text.toString().normalized(QString::NormalizationForm_C);
    Kept kept;
    kept.text.reserve(nfc.size());
    for (char32_t c : nfc.toUcs4()) { // half of a character (a lone surrogate) is refused too
        if (m_keeps(c))
            kept.text += QString::fromUcs4(&c, 1);
        else if (!kept.refused)
            kept.refused = c;
    }
    return kept;
}

QValidator::State StorableTextValidator::validate(QString& input, int& pos) const {
    const Kept kept = keep(input);
    if (kept.text == input)
        return Acceptable;
    // The cursor stays after what was typed before it.
    const QString before = keep(QStringView(input).left(pos)).text;
    pos = kept.text.startsWith(before) ? int(before.size()) : std::min(pos, int(kept.text.size()));
    input = kept.text;
    if (kept.refused)
        Q_EMIT refused(refusalMessage(*kept.refused, m_plainLetters(*kept.refused)));
    return Acceptable;
}

void StorableTextValidator::fixup(QString& input) const {
    input = keep(input).text;
}

QString StorableTextValidator::shown(char32_t character) {
    switch (QChar::category(character)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return QStringLiteral("\u25CC") + QString::fromUcs4(&character, 1);
    // Characters that show nothing, or no more than a blank, are named by their code.
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
        return QStringLiteral("U+%1").arg(uint(character), 4, 16, QLatin1Char('0')).toUpper();
    default:
        return QString::fromUcs4(&character, 1);
    }
}

QString StorableTextValidator::refusalMessage(char32_t character, const QString& plainLetters) {
    QString message =
        QStringLiteral("Il carattere «%1» non è stato inserito: un book conserva solo lettere e "
                       "segni dell'Europa occidentale.")
            .arg(shown(character));
    if (!plainLetters.isEmpty())
        message += QStringLiteral(" Scrivere «%1».").arg(plainLetters);
    return message;
}

namespace StorableTextField {

void install(QLineEdit* field, StorableTextValidator::Keeps keeps, StorableTextValidator::PlainLetters plain,
             QLabel* statusLine) {
    auto* validator = new StorableTextValidator(keeps, plain, field);
    QObject::connect(validator, &StorableTextValidator::refused, statusLine, &QLabel::setText);
    field->setValidator(validator);
}

void install(QLineEdit* field, StorableTextValidator::Keeps keeps,
             StorableTextValidator::PlainLetters plain) {
    auto* validator = new StorableTextValidator(keeps, plain, field);
    QObject::connect(validator, &StorableTextValidator::refused, field, [field](const QString& message) {
        // Just under the field's text, where the user is looking.
        QToolTip::showText(field->mapToGlobal(QPoint(4, field->height() - 14)), message, field);
    });
    field->setValidator(validator);
}

} // namespace StorableTextField
