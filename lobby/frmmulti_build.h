#pragma once

// Small makers for the controls of the online window: each sets the control's
// name and parent, so the tab builders read as lists of controls.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTextEdit>

namespace frmmultibuild {

template <class W> W* named(W* widget, const QString& name) {
    if (!name.isEmpty()) widget->setObjectName(name);
    return widget;
}

inline QLabel* caption(const QString& text, QWidget* parent, const QString& name = {}) {
    return named(new QLabel(text, parent), name);
}

inline QLineEdit* textBox(QWidget* parent, const QString& name, const QString& text = {}) {
    return named(new QLineEdit(text, parent), name);
}

inline QPushButton* button(const QString& text, QWidget* parent, const QString& name) {
    return named(new QPushButton(text, parent), name);
}

inline QRadioButton* option(const QString& text, QWidget* parent, const QString& name) {
    return named(new QRadioButton(text, parent), name);
}

inline QCheckBox* checkBox(const QString& text, QWidget* parent, const QString& name) {
    return named(new QCheckBox(text, parent), name);
}

inline QGroupBox* frame(const QString& title, QWidget* parent, const QString& name = {}) {
    return named(new QGroupBox(title, parent), name);
}

// A drop-down list that takes no typing.
inline QComboBox* dropDown(QWidget* parent, const QString& name, const QStringList& items,
                           const QString& current) {
    auto* box = named(new QComboBox(parent), name);
    box->addItems(items);
    box->setCurrentText(current);
    return box;
}

// A read-only rich text box.
inline QTextEdit* richBox(QWidget* parent, const QString& name) {
    auto* box = named(new QTextEdit(parent), name);
    box->setReadOnly(true);
    box->setAcceptRichText(false);
    return box;
}

// A grid with its fixed header row and fixed empty first column.
inline QTableWidget* grid(QWidget* parent, const QString& name) {
    auto* table = named(new QTableWidget(parent), name);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->setVisible(false);
    table->setColumnCount(2);
    table->setHorizontalHeaderLabels({QString(), QString()});
    table->setColumnWidth(0, 12);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

} // namespace frmmultibuild
