// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// FeatureTableModel: every feature of the open camera with its type, value
// and access, kept current through the camera's change notifications.
#ifndef FEATURETABLEMODEL_H
#define FEATURETABLEMODEL_H

#include <featurelist.h>

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>

class ChangeObserver;

class FeatureTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { NameColumn, TypeColumn, ValueColumn, AccessColumn, ColumnCount };
    enum Role {
        DataTypeRole = Qt::UserRole + 1, ///< int, TKN::OrvAPI::OrvFeatureDataType
        EntriesRole,                     ///< QStringList: the entries that can be chosen now
        MinimumRole,                     ///< QVariant (qlonglong or double)
        MaximumRole,
        IncrementRole
    };

    explicit FeatureTableModel(QObject *parent = nullptr);
    ~FeatureTableModel() override;

    /// Shows these features and follows their changes; an empty list clears.
    /// The previous features are unregistered first.
    void setFeatures(const CameraFeatureList &features);
    void clear() { setFeatures(CameraFeatureList()); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    QString featureName(int row) const;
    TKN::OrvAPI::OrvFeatureDataType dataType(int row) const;
    /// Runs a command feature; false (and writeFailed) when the camera refuses.
    bool runCommand(int row);

    static QString typeName(TKN::OrvAPI::OrvFeatureDataType type);

signals:
    /// The camera refused a write or command; code is its OrvErrorType.
    void writeFailed(const QString &featureName, int code);
    /// Every row has been read again (after a change or a write).
    void refreshed();

public slots:
    /// Re-reads every value and access right.
    void refresh();

private slots:
    void onCameraChanged();

private:
    struct Row
    {
        TKN::OrvAPI::FeaturePtr feature;
        QString name;
        QString displayName;
        TKN::OrvAPI::OrvFeatureDataType type = TKN::OrvAPI::OrvFeatureDataUnknown;
        QString value;
        bool boolValue = false;
        bool writable = false;
        int readError = 0;
    };

    void readRow(Row &row) const;
    void unregisterObserver();
    QStringList availableEntries(const Row &row) const;

    CameraFeatureList m_Features;
    QVector<Row> m_Rows;
    TKN::OrvAPI::IFeatureObserverPtr m_Observer;
    ChangeObserver *m_pChangeObserver = nullptr; // owned through m_Observer
};

#endif // FEATURETABLEMODEL_H
