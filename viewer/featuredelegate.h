// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// FeatureDelegate: the editor that fits a feature's type in the value column.
#ifndef FEATUREDELEGATE_H
#define FEATUREDELEGATE_H

#include <QStyledItemDelegate>

/// Enumeration: a box of the entries available now; Integer and Float: a spin
/// box limited to the feature's range and increment; String: a line edit.
/// Booleans are check boxes of the model; commands get buttons from the view.
class FeatureDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
};

#endif // FEATUREDELEGATE_H
