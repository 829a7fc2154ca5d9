// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QWidget>

namespace kelsa
{

// The bar that chooses the current record of a reference table: first and previous record at
// its left end, next and last record at its right end, the table's name in the middle. It only
// signals; the table's mapper moves the record. Its buttons take no keyboard focus, so the bars
// stay out of the window's tab order.
class RecordNavigator : public QWidget
{
    Q_OBJECT
public:
    explicit RecordNavigator(const QString &caption, QWidget *parent = nullptr);

signals:
    void firstRequested();
    void previousRequested();
    void nextRequested();
    void lastRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QString m_caption;
    QAbstractButton *m_first;
    QAbstractButton *m_previous;
    QAbstractButton *m_next;
    QAbstractButton *m_last;
};

} // namespace kelsa
