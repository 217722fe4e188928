#pragma once

#include <QLineEdit>
#include <QStringList>

class QMimeData;

namespace ui {

// A text field that takes files dropped onto it (and nothing else: dragged
// text is refused) and hands their paths on, in the order of the drop.
class FileDropLineEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit FileDropLineEdit(QWidget* parent = nullptr);

    // The local files that a drag carries; empty when it carries none.
    static QStringList DroppedFiles(const QMimeData* data);

signals:
    void filesDropped(const QStringList& files);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

}  // namespace ui
