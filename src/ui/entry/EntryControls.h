#pragma once

#include <QGroupBox>
#include "ui/common/Utf8Text.h"
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QTableWidget>

// The named controls the data-entry sheets are built of; a control's object name is the one
// the window's tests and the window's own lookups use.
namespace entry::controls {

inline QGroupBox* groupBox(const char* name, const char* caption)
{
    auto* b = new QGroupBox(u(caption));
    b->setObjectName(name);
    return b;
}

inline QPushButton* button(const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption);
    b->setObjectName(name);
    return b;
}

// A label; one without a name is found by nothing.
inline QLabel* label(const char* name, const char* caption)
{
    auto* l = new QLabel(u(caption));
    if (name != nullptr)
        l->setObjectName(name);
    return l;
}

// An entry field for one value.
inline QLineEdit* valueEdit(const char* name)
{
    auto* e = new QLineEdit;
    e->setObjectName(name);
    e->setMaximumWidth(160);
    return e;
}

// A field that shows the current value and takes no typing.
inline QLineEdit* currentValueEdit(const char* name)
{
    QLineEdit* e = valueEdit(name);
    e->setReadOnly(true);
    return e;
}

// The text of a grid cell, empty where the cell has no item.
inline QString cellText(const QTableWidget* grid, int row, int column)
{
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

// Sets the text of a grid cell that has an item; a cell without one is left alone.
inline void setCellText(QTableWidget* grid, int row, int column, const QString& text)
{
    if (QTableWidgetItem* item = grid->item(row, column))
        item->setText(text);
}

} // namespace entry::controls
