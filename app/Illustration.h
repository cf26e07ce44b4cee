#pragma once

#include <QIcon>
#include <QWidget>

// A fixed picture filling the widget, drawn from a picture rendered at build time; QIcon also
// takes name@2x.png when the screens have two pixels per logical pixel, and scales otherwise.
class Illustration : public QWidget
{
    Q_OBJECT

public:
    explicit Illustration(const QString &image, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *evenement) override;

private:
    QIcon image_;
};
