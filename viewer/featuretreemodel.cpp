// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "featuretreemodel.h"

#include "featuretablemodel.h"

namespace {

// Deeper trees than this are a broken description.
const int MaxDepth = 32;

} // namespace

FeatureTreeModel::FeatureTreeModel(FeatureTableModel *table, QObject *parent)
    : QAbstractItemModel(parent),
      m_pTable(table),
      m_Root(new Node)
{
    connect(m_pTable, SIGNAL(modelReset()), this, SLOT(rebuild()));
    connect(m_pTable, SIGNAL(dataChanged(QModelIndex, QModelIndex)), this,
            SLOT(onTableDataChanged(QModelIndex, QModelIndex)));
    rebuild();
}

FeatureTreeModel::~FeatureTreeModel() = default;

void FeatureTreeModel::setGroups(const TKN::OrvAPI::FeatureGroup &groups, const QHash<QString, QString> &descriptions)
{
    m_Groups = groups;
    m_Descriptions = descriptions;
    rebuild();
}

FeatureTreeModel::Node *FeatureTreeModel::addChild(Node *parent)
{
    parent->children.emplace_back(new Node);
    Node *child = parent->children.back().get();
    child->parent = parent;
    child->row = int(parent->children.size()) - 1;
    return child;
}

void FeatureTreeModel::addGroup(Node *parent, const TKN::OrvAPI::FeatureGroup &group, const QHash<QString, int> &rows,
                                QVector<bool> &placed, int depth)
{
    if (depth > MaxDepth)
        return;
    for (const TKN::OrvAPI::FeatureGroup &child : group.groups) {
        Node *node = addChild(parent);
        node->caption = QString::fromStdString(child.displayName.empty() ? child.name : child.displayName);
        addGroup(node, child, rows, placed, depth + 1);
        // A category without a single feature of this camera says nothing.
        if (node->children.empty())
            parent->children.pop_back();
    }
    for (const std::string &name : group.features) {
        const int row = rows.value(QString::fromStdString(name), -1);
        if (row < 0)
            continue;
        Node *node = addChild(parent);
        node->sourceRow = row;
        placed[row] = true;
    }
}

void FeatureTreeModel::rebuild()
{
    beginResetModel();
    m_Root.reset(new Node);
    const int count = m_pTable->rowCount();
    QHash<QString, int> rows;
    for (int row = 0; row < count; ++row)
        rows.insert(m_pTable->featureName(row), row);
    QVector<bool> placed(count, false);
    if (count > 0)
        addGroup(m_Root.get(), m_Groups, rows, placed, 0);
    for (int row = 0; row < count; ++row) {
        if (!placed[row])
            addChild(m_Root.get())->sourceRow = row;
    }
    m_NodesOfRow.fill(QVector<Node *>(), count);
    QVector<Node *> pending{m_Root.get()};
    while (!pending.isEmpty()) {
        Node *node = pending.takeLast();
        if (node->sourceRow >= 0)
            m_NodesOfRow[node->sourceRow].append(node);
        for (const auto &child : node->children)
            pending.append(child.get());
    }
    endResetModel();
}

void FeatureTreeModel::onTableDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight)
{
    for (int row = topLeft.row(); row <= bottomRight.row() && row < m_NodesOfRow.size(); ++row) {
        for (Node *node : qAsConst(m_NodesOfRow[row]))
            emit dataChanged(indexOf(node, topLeft.column()), indexOf(node, bottomRight.column()));
    }
}

FeatureTreeModel::Node *FeatureTreeModel::nodeOf(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<Node *>(index.internalPointer()) : m_Root.get();
}

QModelIndex FeatureTreeModel::indexOf(Node *node, int column) const
{
    return node == m_Root.get() ? QModelIndex() : createIndex(node->row, column, node);
}

QModelIndex FeatureTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    Node *node = nodeOf(parent);
    if (row < 0 || row >= int(node->children.size()) || column < 0 || column >= columnCount())
        return QModelIndex();
    return createIndex(row, column, node->children[row].get());
}

QModelIndex FeatureTreeModel::parent(const QModelIndex &child) const
{
    if (!child.isValid())
        return QModelIndex();
    return indexOf(nodeOf(child)->parent, 0);
}

int FeatureTreeModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return int(nodeOf(parent)->children.size());
}

int FeatureTreeModel::columnCount(const QModelIndex &) const
{
    return FeatureTableModel::ColumnCount;
}

QVariant FeatureTreeModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const Node *node = nodeOf(index);
    if (role == SourceRowRole)
        return node->sourceRow;
    if (node->sourceRow < 0)
        return index.column() == 0 && role == Qt::DisplayRole ? QVariant(node->caption) : QVariant();
    if (role == Qt::ToolTipRole && index.column() == FeatureTableModel::NameColumn) {
        const QString description = m_Descriptions.value(m_pTable->featureName(node->sourceRow));
        if (!description.isEmpty())
            return description;
    }
    return m_pTable->data(m_pTable->index(node->sourceRow, index.column()), role);
}

QVariant FeatureTreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    return m_pTable->headerData(section, orientation, role);
}

Qt::ItemFlags FeatureTreeModel::flags(const QModelIndex &index) const
{
    const Node *node = nodeOf(index);
    if (!index.isValid() || node->sourceRow < 0)
        return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
    return m_pTable->flags(m_pTable->index(node->sourceRow, index.column()));
}

bool FeatureTreeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const Node *node = nodeOf(index);
    if (!index.isValid() || node->sourceRow < 0)
        return false;
    return m_pTable->setData(m_pTable->index(node->sourceRow, index.column()), value, role);
}
