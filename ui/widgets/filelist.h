#pragma once

#include <QListWidget>

namespace Dravix {

// A file list that shows no row as current until the user picks or moves to one, and whose
// frame shows the focus.
class FileList : public QListWidget
{
    Q_OBJECT

public:
    explicit FileList(QWidget *parent);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};

} // namespace Dravix
