// Edit fields that refuse, as they are typed, pasted or dropped, the characters a book cannot store.
// The text is normalised to NFC first, so that a letter typed as a base letter and a combining accent
// is kept when its composed form can be stored; each character that cannot is taken out and the rest
// of the text stays. Every refusal says, in Italian, which character was refused and why, and names
// the plain letters to write instead where there are some ("ś": "s").
//
// Which characters a field keeps is the caller's rule (the book's code page lives in the archive core,
// which this layer does not see).
#pragma once

#include <QString>
#include <QStringView>
#include <QValidator>

#include <optional>

class QLabel;
class QLineEdit;

class StorableTextValidator final : public QValidator {
    Q_OBJECT

public:
    // Whether a character is kept, and the plain letters that stand in for one that is not (empty
    // when there are none).
    using Keeps = bool (*)(char32_t);
    using PlainLetters = QString (*)(char32_t);

    StorableTextValidator(Keeps keeps, PlainLetters plainLetters, QObject* parent);

    // Takes every refused character out of the input (which QLineEdit then shows) and reports the
    // first of them; the input is always acceptable afterwards.
    State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

    // The text as the field keeps it (NFC, refused characters taken out) and the first character
    // refused, if any.
    struct Kept {
        QString text;
        std::optional<char32_t> refused;
    };
    Kept keep(QStringView text) const;

    // The report of a refused character, short enough for one line of the editor's status line.
    static QString refusalMessage(char32_t character, const QString& plainLetters);
    // The character as a message shows it: an accent on its own sits on a dotted circle.
    static QString shown(char32_t character);

Q_SIGNALS:
    // A character was refused; the message says which and why.
    void refused(const QString& message) const;

private:
    Keeps m_keeps;
    PlainLetters m_plainLetters;
};

namespace StorableTextField {

// The field refuses the characters that keeps does not keep. Each refusal is written into the status
// line, where the next hint replaces it as hints replace one another.
void install(QLineEdit* field, StorableTextValidator::Keeps keeps, StorableTextValidator::PlainLetters plain,
             QLabel* statusLine);

// The same for a window without a status line: each refusal is shown as a balloon at the field.
void install(QLineEdit* field, StorableTextValidator::Keeps keeps, StorableTextValidator::PlainLetters plain);

} // namespace StorableTextField
