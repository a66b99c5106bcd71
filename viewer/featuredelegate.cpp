// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "featuredelegate.h"

#include "featuretablemodel.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSpinBox>

#include <limits>

using namespace TKN::OrvAPI;

QWidget *FeatureDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                       const QModelIndex &index) const
{
    const auto type = OrvFeatureDataType(index.data(FeatureTableModel::DataTypeRole).toInt());
    switch (type) {
    case OrvFeatureDataEnum: {
        auto *box = new QComboBox(parent);
        box->addItems(index.data(FeatureTableModel::EntriesRole).toStringList());
        // Choosing an entry is the edit; no extra click to confirm it.
        connect(box, QOverload<int>::of(&QComboBox::activated), this, [this, box]() {
            emit const_cast<FeatureDelegate *>(this)->commitData(box);
            emit const_cast<FeatureDelegate *>(this)->closeEditor(box);
        });
        return box;
    }
    case OrvFeatureDataInt: {
        const QVariant minimum = index.data(FeatureTableModel::MinimumRole);
        const QVariant maximum = index.data(FeatureTableModel::MaximumRole);
        const qlonglong low = minimum.isValid() ? minimum.toLongLong() : std::numeric_limits<int>::min();
        const qlonglong high = maximum.isValid() ? maximum.toLongLong() : std::numeric_limits<int>::max();
        const qlonglong step = qMax<qlonglong>(1, index.data(FeatureTableModel::IncrementRole).toLongLong());
        if (low >= std::numeric_limits<int>::min() && high <= std::numeric_limits<int>::max()) {
            auto *spin = new QSpinBox(parent);
            spin->setRange(int(low), int(high));
            spin->setSingleStep(int(step));
            return spin;
        }
        // Wider than int: a spin box of doubles holds integers up to 2^53.
        auto *spin = new QDoubleSpinBox(parent);
        spin->setDecimals(0);
        spin->setRange(double(low), double(high));
        spin->setSingleStep(double(step));
        return spin;
    }
    case OrvFeatureDataFloat: {
        auto *spin = new QDoubleSpinBox(parent);
        spin->setDecimals(3);
        const QVariant minimum = index.data(FeatureTableModel::MinimumRole);
        const QVariant maximum = index.data(FeatureTableModel::MaximumRole);
        spin->setRange(minimum.isValid() ? minimum.toDouble() : -std::numeric_limits<double>::max(),
                       maximum.isValid() ? maximum.toDouble() : std::numeric_limits<double>::max());
        const double step = index.data(FeatureTableModel::IncrementRole).toDouble();
        spin->setSingleStep(step > 0.0 ? step : 1.0);
        return spin;
    }
    case OrvFeatureDataString: return new QLineEdit(parent);
    default: return QStyledItemDelegate::createEditor(parent, option, index);
    }
}

void FeatureDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    const QString value = index.data(Qt::EditRole).toString();
    if (auto *box = qobject_cast<QComboBox *>(editor)) {
        box->setCurrentIndex(box->findText(value));
    } else if (auto *spin = qobject_cast<QSpinBox *>(editor)) {
        spin->setValue(value.toInt());
    } else if (auto *spin = qobject_cast<QDoubleSpinBox *>(editor)) {
        spin->setValue(value.toDouble());
    } else if (auto *edit = qobject_cast<QLineEdit *>(editor)) {
        edit->setText(value);
    } else {
        QStyledItemDelegate::setEditorData(editor, index);
    }
}

void FeatureDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    QVariant value;
    if (auto *box = qobject_cast<QComboBox *>(editor)) {
        if (box->currentIndex() < 0)
            return;
        value = box->currentText();
    } else if (auto *spin = qobject_cast<QSpinBox *>(editor)) {
        value = qlonglong(spin->value());
    } else if (auto *spin = qobject_cast<QDoubleSpinBox *>(editor)) {
        const auto type = OrvFeatureDataType(index.data(FeatureTableModel::DataTypeRole).toInt());
        value = type == OrvFeatureDataInt ? QVariant(qlonglong(spin->value())) : QVariant(spin->value());
    } else if (auto *edit = qobject_cast<QLineEdit *>(editor)) {
        value = edit->text();
    } else {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    // Unchanged values are not written: a camera counts every write.
    if (value.toString() == index.data(Qt::EditRole).toString())
        return;
    model->setData(index, value, Qt::EditRole);
}
