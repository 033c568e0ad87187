// The help topics that the windows show in the guide window, kept in one place: the windows show them
// and the build writes every one of them into the guide document beside the program.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct HelpTopic {
    QString title;
    QStringList paragraphs;

    // The paragraphs joined by an empty line (CR LF CR LF), with no break before the first or after the last.
    QString text() const { return paragraphs.join(QStringLiteral("\r\n\r\n")); }
};

namespace HelpTopics {

// The launcher: a look at the whole program.
HelpTopic launcher();
// The create-book window.
HelpTopic createBook();
// The record editor; the open-book window shows it too.
HelpTopic editor();

// The spreadsheet export window.
HelpTopic exportBook();

// Every topic the program shows, in the order of the guide document.
QList<HelpTopic> all();

} // namespace HelpTopics
