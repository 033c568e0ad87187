// Files dragged onto a widget and dropped there, as a file manager does: the drag enters, moves over
// the widget's centre and is dropped, each as the event the window system would send.
#pragma once

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

// True when the widget, or the nearest of its parents that takes drops, as Qt picks it, took the drop;
// false when it refused the drag as it entered or at the drop, or when nothing under the point takes
// drops.
inline bool dropFiles(QWidget* target, const QList<QUrl>& urls) {
    QPoint at = target->rect().center();
    while (!target->acceptDrops()) {
        if (target->isWindow() || !target->parentWidget())
            return false;
        at = target->mapToParent(at);
        target = target->parentWidget();
    }
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    enter.setAccepted(false);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &data, Qt::LeftButton,
                        Qt::NoModifier);
    move.setAccepted(false);
    QApplication::sendEvent(target, &move);
    if (!move.isAccepted())
        return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &data, Qt::LeftButton,
                    Qt::NoModifier);
    drop.setAccepted(false);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

inline bool dropFiles(QWidget* target, const QStringList& paths) {
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    return dropFiles(target, urls);
}
