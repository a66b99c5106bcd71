// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "featuretablemodel.h"

#include "changeobserver.h"

#include <OrvikCamera.h>

#include <string>
#include <vector>

using namespace TKN::OrvAPI;

FeatureTableModel::FeatureTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

FeatureTableModel::~FeatureTableModel()
{
    unregisterObserver();
}

void FeatureTableModel::setFeatures(const CameraFeatureList &features)
{
    beginResetModel();
    unregisterObserver();
    m_Rows.clear();
    m_Features = features;
    if (m_Features) {
        m_Rows.reserve(m_Features->size());
        for (const FeaturePtr &feature : *m_Features) {
            if (!feature)
                continue;
            Row row;
            row.feature = feature;
            std::string text;
            if (feature->GetName(text) == OrvErrSuccess)
                row.name = QString::fromStdString(text);
            if (feature->GetDisplayName(text) == OrvErrSuccess)
                row.displayName = QString::fromStdString(text);
            if (feature->GetDataType(row.type) != OrvErrSuccess)
                row.type = OrvFeatureDataUnknown;
            readRow(row);
            m_Rows.append(row);
        }
        m_pChangeObserver = new ChangeObserver(this, "onCameraChanged");
        m_Observer = IFeatureObserverPtr(m_pChangeObserver);
        for (const Row &row : qAsConst(m_Rows))
            row.feature->RegisterObserver(m_Observer);
    }
    endResetModel();
}

void FeatureTableModel::unregisterObserver()
{
    if (!m_Observer)
        return;
    // Returns only when no notification to the observer is running, so no
    // queued call can be posted after this.
    for (const Row &row : qAsConst(m_Rows))
        row.feature->UnregisterObserver(m_Observer);
    m_Observer.reset();
    m_pChangeObserver = nullptr;
}

void FeatureTableModel::readRow(Row &row) const
{
    const FeaturePtr &feature = row.feature;
    OrvErrorType err = OrvErrSuccess;
    row.value.clear();
    row.boolValue = false;
    if (row.type == OrvFeatureDataRaw) {
        row.value = tr("(raw data)");
    } else if (row.type != OrvFeatureDataCommand) {
        std::string text;
        err = ReadValueText(*feature, row.type, text, 12);
        row.value = QString::fromStdString(text);
        row.boolValue = row.type == OrvFeatureDataBool && text == "true";
    }
    row.readError = err;
    if (err != OrvErrSuccess)
        row.value = tr("(error %1)").arg(err);
    bool writable = false;
    row.writable = feature->IsWritable(writable) == OrvErrSuccess && writable;
}

void FeatureTableModel::refresh()
{
    for (int i = 0; i < m_Rows.size(); ++i) {
        Row &row = m_Rows[i];
        const Row before = row;
        readRow(row);
        if (row.value != before.value || row.writable != before.writable || row.readError != before.readError)
            emit dataChanged(index(i, ValueColumn), index(i, AccessColumn));
    }
    emit refreshed();
}

void FeatureTableModel::onCameraChanged()
{
    if (m_pChangeObserver)
        m_pChangeObserver->acknowledge();
    // A selector's change alters every feature it selects without a
    // notification of their own, so all rows are read again.
    refresh();
}

int FeatureTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_Rows.size();
}

int FeatureTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString FeatureTableModel::typeName(OrvFeatureDataType type)
{
    switch (type) {
    case OrvFeatureDataInt: return tr("Integer");
    case OrvFeatureDataFloat: return tr("Float");
    case OrvFeatureDataEnum: return tr("Enumeration");
    case OrvFeatureDataString: return tr("String");
    case OrvFeatureDataBool: return tr("Boolean");
    case OrvFeatureDataCommand: return tr("Command");
    case OrvFeatureDataRaw: return tr("Raw");
    default: return tr("Unknown");
    }
}

QStringList FeatureTableModel::availableEntries(const Row &row) const
{
    QStringList entries;
    std::vector<std::string> values;
    if (row.feature->GetValues(values) != OrvErrSuccess)
        return entries;
    for (const std::string &value : values) {
        bool available = false;
        if (row.feature->IsValueAvailable(value.c_str(), available) == OrvErrSuccess && available)
            entries << QString::fromStdString(value);
    }
    return entries;
}

QVariant FeatureTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_Rows.size())
        return QVariant();
    const Row &row = m_Rows.at(index.row());
    const bool isBool = row.type == OrvFeatureDataBool && row.readError == OrvErrSuccess;

    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case NameColumn: return row.name;
        case TypeColumn: return typeName(row.type);
        case ValueColumn: return isBool ? QVariant() : QVariant(row.value);
        case AccessColumn:
            if (row.type == OrvFeatureDataCommand)
                return row.writable ? tr("executable") : tr("not executable");
            return row.writable ? tr("read/write") : tr("read only");
        }
        break;
    case Qt::EditRole:
        if (index.column() == ValueColumn)
            return row.value;
        break;
    case Qt::CheckStateRole:
        if (index.column() == ValueColumn && isBool)
            return row.boolValue ? Qt::Checked : Qt::Unchecked;
        break;
    case Qt::ToolTipRole:
        if (index.column() == NameColumn && row.displayName != row.name)
            return row.displayName;
        break;
    case DataTypeRole: return int(row.type);
    case EntriesRole: return availableEntries(row);
    case MinimumRole:
    case MaximumRole:
    case IncrementRole:
        if (row.type == OrvFeatureDataInt) {
            long long minimum = 0, maximum = 0, increment = 1;
            if (row.feature->GetRange(minimum, maximum) != OrvErrSuccess)
                return QVariant();
            row.feature->GetIncrement(increment);
            return role == MinimumRole   ? qlonglong(minimum)
                   : role == MaximumRole ? qlonglong(maximum)
                                         : qlonglong(increment);
        }
        if (row.type == OrvFeatureDataFloat) {
            double minimum = 0.0, maximum = 0.0, increment = 0.0;
            if (row.feature->GetRange(minimum, maximum) != OrvErrSuccess)
                return QVariant();
            row.feature->GetIncrement(increment);
            return role == MinimumRole ? minimum : role == MaximumRole ? maximum : increment;
        }
        break;
    }
    return QVariant();
}

QVariant FeatureTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case NameColumn: return tr("Feature");
    case TypeColumn: return tr("Type");
    case ValueColumn: return tr("Value");
    case AccessColumn: return tr("Access");
    }
    return QVariant();
}

Qt::ItemFlags FeatureTableModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (!index.isValid() || index.column() != ValueColumn)
        return flags;
    const Row &row = m_Rows.at(index.row());
    if (!row.writable || row.readError != OrvErrSuccess)
        return flags;
    switch (row.type) {
    case OrvFeatureDataInt:
    case OrvFeatureDataFloat:
    case OrvFeatureDataEnum:
    case OrvFeatureDataString: return flags | Qt::ItemIsEditable;
    case OrvFeatureDataBool: return flags | Qt::ItemIsUserCheckable;
    default: return flags;
    }
}

bool FeatureTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.column() != ValueColumn || index.row() >= m_Rows.size())
        return false;
    Row &row = m_Rows[index.row()];
    OrvErrorType err = OrvErrWrongType;
    if (role == Qt::CheckStateRole && row.type == OrvFeatureDataBool) {
        err = row.feature->SetValue(value.toInt() == Qt::Checked);
    } else if (role == Qt::EditRole) {
        switch (row.type) {
        case OrvFeatureDataInt: {
            const long long number = value.toLongLong();
            err = row.feature->SetValue(number);
            break;
        }
        case OrvFeatureDataFloat: {
            const double number = value.toDouble();
            err = row.feature->SetValue(number);
            break;
        }
        case OrvFeatureDataEnum:
        case OrvFeatureDataString: err = row.feature->SetValue(value.toString().toUtf8().constData()); break;
        default: break;
        }
    } else {
        return false;
    }
    if (err != OrvErrSuccess)
        emit writeFailed(row.name, err);
    refresh();
    return err == OrvErrSuccess;
}

QString FeatureTableModel::featureName(int row) const
{
    return row >= 0 && row < m_Rows.size() ? m_Rows.at(row).name : QString();
}

OrvFeatureDataType FeatureTableModel::dataType(int row) const
{
    return row >= 0 && row < m_Rows.size() ? m_Rows.at(row).type : OrvFeatureDataUnknown;
}

bool FeatureTableModel::runCommand(int row)
{
    if (row < 0 || row >= m_Rows.size())
        return false;
    const OrvErrorType err = m_Rows[row].feature->RunCommand();
    if (err != OrvErrSuccess)
        emit writeFailed(m_Rows.at(row).name, err);
    refresh();
    return err == OrvErrSuccess;
}
