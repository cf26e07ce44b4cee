#pragma once

#include <QIcon>
#include <QWidget>

// A fixed picture filling the widget, drawn from a picture rendered at build time (Icones::image),
// by its resource name without extension.
class Illustration : public QWidget
{
    Q_OBJECT

public:
    explicit Illustration(const QString &image, QWidget *parent = nullptr);

    // The picture's own size, in logical pixels.
    QSize sizeHint() const override { return taille_; }

protected:
    void paintEvent(QPaintEvent *evenement) override;

private:
    QIcon image_;
    QSize taille_;
};
