// The slide show window: the open book's photos, as large as the screen allows, one card every six
// seconds, starting over after the last card, until the user clicks the picture or closes the window.
// The step logic is SlideShow's; the window only shows what it says.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class SlideShowWindow;
}
class PhotoView;
class SlideShow;

class SlideShowWindow final : public QDialog {
    Q_OBJECT

public:
    explicit SlideShowWindow(QWidget* parent = nullptr);
    ~SlideShowWindow() override;

    // The book to show, as the editor holds it: its name and the path of its archive (trimmed here).
    void setBook(const QString& bookName, const QString& archivePath);

    SlideShow* slideShow() const { return m_show; }
    PhotoView* picture() const;

    static QString emptyBookMessage();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void bookEmpty();

    std::unique_ptr<Ui::SlideShowWindow> ui;
    SlideShow* m_show;
    bool m_started = false;
};
