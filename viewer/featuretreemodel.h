// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// FeatureTreeModel: the feature table arranged by category, as GenICam
// viewers show a camera's features.
#ifndef FEATURETREEMODEL_H
#define FEATURETREEMODEL_H

#include <OrvikCamera.h>

#include <QAbstractItemModel>
#include <QHash>
#include <QString>
#include <QVector>

#include <memory>

class FeatureTableModel;

/// Categories are rows of their own with children; features are the rows of
/// the table model behind, whose columns and roles pass through unchanged.
/// Features the groups do not name are listed after them at the top level.
class FeatureTreeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    enum Role { SourceRowRole = Qt::UserRole + 100 }; ///< int, the table row; -1 for a category

    explicit FeatureTreeModel(FeatureTableModel *table, QObject *parent = nullptr);
    ~FeatureTreeModel() override;

    /// Arranges the table's rows by these groups; descriptions become tooltips.
    void setGroups(const TKN::OrvAPI::FeatureGroup &groups, const QHash<QString, QString> &descriptions);

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

private slots:
    void rebuild();
    void onTableDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight);

private:
    struct Node
    {
        Node *parent = nullptr;
        int row = 0;        ///< place under the parent
        int sourceRow = -1; ///< table row of a feature; -1 for a category
        QString caption;    ///< a category's name
        std::vector<std::unique_ptr<Node>> children;
    };

    Node *nodeOf(const QModelIndex &index) const;
    QModelIndex indexOf(Node *node, int column) const;
    void addGroup(Node *parent, const TKN::OrvAPI::FeatureGroup &group, const QHash<QString, int> &rows,
                  QVector<bool> &placed, int depth);
    Node *addChild(Node *parent);

    FeatureTableModel *m_pTable;
    TKN::OrvAPI::FeatureGroup m_Groups;
    QHash<QString, QString> m_Descriptions;
    std::unique_ptr<Node> m_Root;
    QVector<QVector<Node *>> m_NodesOfRow; ///< table row -> its leaves (a feature may sit in two categories)
};

#endif // FEATURETREEMODEL_H
