#include "base/TextRules.h"

namespace TextRules {

QString trim(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isTrimmedAway(text[begin]))
        ++begin;
    while (end > begin && isTrimmedAway(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin).toString();
}

QString foldAZ(QStringView text) {
    QString folded = text.toString();
    for (QChar& c : folded)
        c = QChar(foldedAZ(c.unicode()));
    return folded;
}

QString upperAZ(QStringView text) {
    QString raised = text.toString();
    for (QChar& c : raised) {
        if (c.unicode() >= u'a' && c.unicode() <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    }
    return raised;
}

} // namespace TextRules
