#pragma once

#include <QWidget>

namespace Dravix {

// The firm's logo: a neutral emblem painted from paths, sharp at any scale.
class Logo : public QWidget
{
    Q_OBJECT

public:
    explicit Logo(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace Dravix
