// The editors of the viewer's feature table: the right kind, limited to
// what the camera allows, writing only real changes.
#include <featuredelegate.h>
#include <featuretablemodel.h>

#include "testcamera.h"

#include <QComboBox>
#include <QScopedPointer>
#include <QtTest>

class tst_FeatureDelegate : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void edit_data();
    void edit();
    void enumerationOffersAvailableEntries();

private:
    QModelIndex cell(const QString &name) const
    {
        for (int row = 0; row < m_Model->rowCount(); ++row) {
            if (m_Model->featureName(row) == name)
                return m_Model->index(row, FeatureTableModel::ValueColumn);
        }
        return QModelIndex();
    }
    QWidget *editorFor(const QString &name)
    {
        QWidget *editor = m_Delegate.createEditor(&m_Parent, QStyleOptionViewItem(), cell(name));
        if (editor)
            m_Delegate.setEditorData(editor, cell(name));
        return editor;
    }

    std::shared_ptr<OrvSim::Camera> m_Camera;
    QScopedPointer<FeatureTableModel> m_Model;
    FeatureDelegate m_Delegate;
    QWidget m_Parent;
};

void tst_FeatureDelegate::init()
{
    m_Camera = TestCamera::load("exposure-mode.json");
    m_Model.reset(new FeatureTableModel);
    m_Model->setFeatures(TestCamera::featureList(*m_Camera));
    m_Camera->clearJournal();
}

void tst_FeatureDelegate::cleanup()
{
    qDeleteAll(m_Parent.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly));
    m_Model.reset();
    m_Camera.reset();
}

void tst_FeatureDelegate::edit_data()
{
    QTest::addColumn<QString>("feature");
    QTest::addColumn<QString>("editorClass");
    QTest::addColumn<QVariantList>("range"); // minimum, maximum, step of a spin box
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("entered");
    QTest::addColumn<QStringList>("written");

    QTest::newRow("integer") << "Width" << QString("QSpinBox") << QVariantList { 16, 2448, 16 } << "2448"
                             << QString("1024") << QStringList { "Width=1024" };
    QTest::newRow("float with increment")
        << "Gain" << QString("QDoubleSpinBox") << QVariantList { 0, 24, 0.1 } << "0" << QString("1.5")
        << QStringList { "Gain=1.5" };
    // A camera counts every write: an unchanged value is not written.
    QTest::newRow("float unchanged") << "ExposureTime" << QString("QDoubleSpinBox")
                                     << QVariantList { 15, 1e7, 1 } << "10000" << QString("10000")
                                     << QStringList();
    QTest::newRow("enumeration") << "PixelFormat" << QString("QComboBox") << QVariantList() << "Mono8"
                                 << QString("Mono12") << QStringList { "PixelFormat=Mono12" };
    QTest::newRow("string") << "DeviceUserID" << QString("QLineEdit") << QVariantList() << ""
                            << QString("left") << QStringList { "DeviceUserID=left" };
}

void tst_FeatureDelegate::edit()
{
    QFETCH(QString, feature);
    QFETCH(QString, editorClass);
    QFETCH(QVariantList, range);
    QFETCH(QString, shown);
    QFETCH(QString, entered);
    QFETCH(QStringList, written);

    QWidget *editor = editorFor(feature);
    QVERIFY(editor);
    QCOMPARE(editor->metaObject()->className(), qPrintable(editorClass));
    if (auto *box = qobject_cast<QComboBox *>(editor)) {
        QCOMPARE(box->currentText(), shown);
        box->setCurrentIndex(box->findText(entered));
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
    m_Delegate.setModelData(editor, m_Model.data(), cell(feature));
    QCOMPARE(TestCamera::writes(*m_Camera), written);
    QCOMPARE(cell(feature).data().toString(), entered);
}

void tst_FeatureDelegate::enumerationOffersAvailableEntries()
{
    QComboBox *box = qobject_cast<QComboBox *>(editorFor("TriggerSource"));
    QVERIFY(box && box->findText("Line4") >= 0);
    // Line4 switched to output is no trigger source any more.
    QCOMPARE(m_Camera->feature("LineSelector")->SetValue("Line4"), TKN::OrvAPI::OrvErrSuccess);
    QCOMPARE(m_Camera->feature("LineMode")->SetValue("Output"), TKN::OrvAPI::OrvErrSuccess);
    box = qobject_cast<QComboBox *>(editorFor("TriggerSource"));
    QVERIFY(box);
    QCOMPARE(box->findText("Line4"), -1);
    QVERIFY(box->findText("Line5") >= 0);
}

QTEST_MAIN(tst_FeatureDelegate)
#include "tst_featuredelegate.moc"
