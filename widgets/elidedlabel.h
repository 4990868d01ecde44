#ifndef ELIDEDLABEL_H
#define ELIDEDLABEL_H

#include <QLabel>

// A one-line label that, given less room than its text needs, shows the
// text shortened at its start ("…/sessions/2026-12-08_101530.csv") instead
// of cutting its end off, so the file name at the end of a path stays
// legible. text() stays the whole text; it may shrink to nothing in a layout.
class ElidedLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget *parent = nullptr);

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};

#endif // ELIDEDLABEL_H
