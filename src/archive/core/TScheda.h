// One card of a book: a fixed record of 3548 bytes made of eighteen length-prefixed Windows-1252
// text fields. Each field takes 1 + N bytes: a length byte L (0..N) and N bytes whose first L are the
// text; the bytes after the text are left as they were, whatever they hold.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <algorithm>
#include <array>
#include <cstddef>

class TScheda {
public:
    enum Field {
        Titolo,
        Descrizione,
        Data,
        Location,
        Fotografo,
        Fotocamera,
        Fotoritocco,
        Abiti,
        Accessori,
        Trucco,
        Giudizio,
        Note,
        File01,
        File02,
        File03,
        Desc01,
        Desc02,
        Desc03,
    };
    static constexpr int kFieldCount = 18;
    static constexpr std::size_t kSize = 3548;

    struct Layout {
        const char16_t* name;
        std::size_t offset;
        int capacity; // N: the bytes of text the field holds
    };
    static const Layout& layout(Field field);

    // At most this many characters of a text are converted, and at most this many bytes kept.
    static constexpr int kConvertedLimit = 255;

    TScheda() { m_bytes.fill(0); }

    // The field's text: its L bytes decoded and trimmed. A length byte above the field's capacity
    // (a damaged or foreign file) reads as the capacity, never into the next field.
    QString field(Field field) const;

    // The same text as stored: its L bytes (at most the capacity) without the codes 0 to 32 at both
    // ends. In Windows-1252 those codes are the same characters as in Unicode and no other byte stands
    // for one of them, so this is exactly what field() decodes.
    QByteArrayView storedText(Field field) const {
        const Layout& f = layout(field);
        const auto* text = reinterpret_cast<const char*>(m_bytes.data() + f.offset + 1);
        qsizetype begin = 0;
        qsizetype end = std::min<int>(m_bytes[f.offset], f.capacity);
        while (begin < end && static_cast<unsigned char>(text[begin]) <= 32)
            ++begin;
        while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32)
            --end;
        return QByteArrayView(text + begin, end - begin);
    }

    // Stores a text: trimmed, at most 255 characters converted, cut to 255 bytes and then to the
    // field's capacity; writes the length byte and the text bytes and nothing after them.
    void setField(Field field, QStringView text);

    using Bytes = std::array<unsigned char, kSize>;
    const Bytes& bytes() const { return m_bytes; }
    Bytes& bytes() { return m_bytes; }

private:
    Bytes m_bytes;
};
