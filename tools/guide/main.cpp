// Writes the guide document "Guida.pdf" from the program's own help topics, one section each, so the
// guide beside the program says exactly what its windows say.
#include "base/HelpTopics.h"
#include "base/Maker.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

namespace {

QString html() {
    QString out = QStringLiteral("<h1 style='color:#2F5F8A'>Lumivera</h1>"
                                 "<p style='font-size:14pt'>Guida all'utilizzo del software</p>"
                                 "<p>Lumivera gestisce i book fotografici delle modelle: ogni book è un "
                                 "archivio di schede, ciascuna con una foto e i dati dello scatto. Questa "
                                 "guida raccoglie gli argomenti che il programma mostra con il pulsante di "
                                 "aiuto di ogni finestra.</p>");
    for (const HelpTopic& topic : HelpTopics::all()) {
        out += QStringLiteral("<h2 style='color:#DC143C'>%1</h2>").arg(topic.title.toHtmlEscaped());
        for (const QString& paragraph : topic.paragraphs)
            out += QStringLiteral("<p align='justify'>%1</p>").arg(paragraph.toHtmlEscaped());
    }
    out += QStringLiteral("<p style='color:#555555'><br>%1 - %2</p>")
               .arg(QString::fromUtf16(Maker::kCopyrightNotice), QString::fromUtf16(Maker::kWebAddress));
    return out;
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "uso: lumivera_guide <file PDF>\n");
        return 2;
    }
    QPdfWriter pdf(QString::fromLocal8Bit(argv[1]));
    pdf.setTitle(QStringLiteral("Lumivera - Guida all'utilizzo del software"));
    pdf.setCreator(QString::fromUtf16(Maker::kProductName));
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 20, 20, 20),
                                  QPageLayout::Millimeter));
    pdf.setResolution(300);

    QTextDocument document;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(11);
    document.setDefaultFont(font);
    document.setHtml(html());
    document.print(&pdf);
    return 0;
}
