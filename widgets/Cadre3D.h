#pragma once

#include <QFrame>

// A caption-less 3-D frame: an etched line on the button face around its child widgets.
class Cadre3D : public QFrame
{
    Q_OBJECT

public:
    explicit Cadre3D(QWidget *parent = nullptr);

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
