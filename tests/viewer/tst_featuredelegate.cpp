// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The editors of the viewer's feature table: the right kind, limited to
// what the camera allows, writing only real changes.
#include <featuredelegate.h>
#include <featuretablemodel.h>

#include "testcamera.h"

#include <QComboBox>
#include <QtTest>

class tst_FeatureDelegate : public QObject
{
    Q_OBJECT

private slots:
    void edit_data();
    void edit();
};

void tst_FeatureDelegate::edit_data()
{
    // clang-format off
    QTest::addColumn<QString>("feature");
    QTest::addColumn<QString>("editorClass");
    QTest::addColumn<QVariantList>("range"); // a spin box's minimum, maximum, step
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("entered");
    QTest::addColumn<QStringList>("written");

    QTest::newRow("integer") << "Width" << QString("QSpinBox") << QVariantList { 16, 2448, 16 } << "2448"
                             << QString("1024") << QStringList { "Width=1024" };
    QTest::newRow("float") << "Gain" << QString("QDoubleSpinBox") << QVariantList { 0, 24, 0.1 } << "0"
                           << QString("1.5") << QStringList { "Gain=1.5" };
    // A camera counts every write: an unchanged value is not written.
    QTest::newRow("float unchanged, no increment")
        << "ExposureTime" << QString("QDoubleSpinBox") << QVariantList { 15, 1e7, 1 } << "10000"
        << QString("10000") << QStringList();
    QTest::newRow("enumeration") << "TriggerSource" << QString("QComboBox") << QVariantList() << "Line0"
                                 << QString("Line5") << QStringList { "TriggerSource=Line5" };
    QTest::newRow("string") << "DeviceUserID" << QString("QLineEdit") << QVariantList() << ""
                            << QString("left") << QStringList { "DeviceUserID=left" };
    // clang-format on
}

void tst_FeatureDelegate::edit()
{
    QFETCH(QString, feature);
    QFETCH(QString, editorClass);
    QFETCH(QVariantList, range);
    QFETCH(QString, shown);
    QFETCH(QString, entered);
    QFETCH(QStringList, written);

    const std::shared_ptr<OrvSim::Camera> camera = TestCamera::load("exposure-mode.json");
    // Line4 switched to output is no trigger source any more.
    camera->feature("LineSelector")->SetValue("Line4");
    camera->feature("LineMode")->SetValue("Output");
    FeatureTableModel model;
    model.setFeatures(TestCamera::featureList(*camera));
    QModelIndex cell;
    for (int row = 0; row < model.rowCount(); ++row) {
        if (model.featureName(row) == feature)
            cell = model.index(row, FeatureTableModel::ValueColumn);
    }
    camera->clearJournal();

    FeatureDelegate delegate;
    QWidget parent;
    QWidget *editor = delegate.createEditor(&parent, QStyleOptionViewItem(), cell);
    QVERIFY(editor);
    delegate.setEditorData(editor, cell);
    QCOMPARE(editor->metaObject()->className(), qPrintable(editorClass));
    if (auto *box = qobject_cast<QComboBox *>(editor)) {
        QCOMPARE(box->currentText(), shown);
        QVERIFY(box->findText("Line4") < 0 && box->findText("Line3") >= 0);
        box->setCurrentText(entered);
    } else if (range.isEmpty()) {
        QCOMPARE(editor->property("text").toString(), shown);
        editor->setProperty("text", entered);
    } else {
        QCOMPARE(editor->property("minimum").toDouble(), range.at(0).toDouble());
        QCOMPARE(editor->property("maximum").toDouble(), range.at(1).toDouble());
        QCOMPARE(editor->property("singleStep").toDouble(), range.at(2).toDouble());
        QCOMPARE(QString::number(editor->property("value").toDouble()), shown);
        editor->setProperty("value", entered.toDouble());
    }
    delegate.setModelData(editor, &model, cell);
    QCOMPARE(TestCamera::writes(*camera), written);
    QCOMPARE(cell.data().toString(), entered);
}

QTEST_MAIN(tst_FeatureDelegate)
#include "tst_featuredelegate.moc"
