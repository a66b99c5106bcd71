// The editors of the viewer's feature table: the right kind, limited to
// what the camera allows, writing only real changes.
#include <featuredelegate.h>
#include <featuretablemodel.h>

#include "testcamera.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QScopedPointer>
#include <QSpinBox>
#include <QtTest>

class tst_FeatureDelegate : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void editorFitsTheType_data();
    void editorFitsTheType();
    void enumerationOffersAvailableEntries();
    void commitWritesOnlyChanges_data();
    void commitWritesOnlyChanges();

private:
    QModelIndex valueIndex(const QString &name) const;
    QWidget *editorFor(const QString &name);

    std::shared_ptr<OrvSim::Camera> m_Camera;
    FeatureTableModel *m_Model = nullptr;
    FeatureDelegate *m_Delegate = nullptr;
    QWidget *m_Parent = nullptr;
};

void tst_FeatureDelegate::init()
{
    m_Camera = TestCamera::load("exposure-mode.json");
    m_Model = new FeatureTableModel;
    m_Model->setFeatures(TestCamera::featureList(*m_Camera));
    m_Delegate = new FeatureDelegate;
    m_Parent = new QWidget;
    m_Camera->clearJournal();
}

void tst_FeatureDelegate::cleanup()
{
    delete m_Parent;
    delete m_Delegate;
    delete m_Model;
    m_Camera.reset();
}

QModelIndex tst_FeatureDelegate::valueIndex(const QString &name) const
{
    for (int row = 0; row < m_Model->rowCount(); ++row) {
        if (m_Model->featureName(row) == name)
            return m_Model->index(row, FeatureTableModel::ValueColumn);
    }
    return QModelIndex();
}

QWidget *tst_FeatureDelegate::editorFor(const QString &name)
{
    const QModelIndex index = valueIndex(name);
    QWidget *editor = m_Delegate->createEditor(m_Parent, QStyleOptionViewItem(), index);
    if (editor)
        m_Delegate->setEditorData(editor, index);
    return editor;
}

void tst_FeatureDelegate::editorFitsTheType_data()
{
    QTest::addColumn<QString>("feature");
    QTest::addColumn<QString>("editorClass");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<double>("step");
    QTest::addColumn<QString>("shown");

    QTest::newRow("integer") << "Width"
                             << "QSpinBox" << 16.0 << 2448.0 << 16.0 << "2448";
    QTest::newRow("float with increment") << "Gain"
                                          << "QDoubleSpinBox" << 0.0 << 24.0 << 0.1 << "0";
    QTest::newRow("float without increment") << "ExposureTime"
                                             << "QDoubleSpinBox" << 15.0 << 10000000.0 << 1.0 << "10000";
    QTest::newRow("enumeration") << "PixelFormat"
                                 << "QComboBox" << 0.0 << 0.0 << 0.0 << "Mono8";
    QTest::newRow("string") << "DeviceUserID"
                            << "QLineEdit" << 0.0 << 0.0 << 0.0 << "";
}

void tst_FeatureDelegate::editorFitsTheType()
{
    QFETCH(QString, feature);
    QFETCH(QString, editorClass);
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QFETCH(double, step);
    QFETCH(QString, shown);

    QWidget *editor = editorFor(feature);
    QVERIFY(editor);
    QCOMPARE(editor->metaObject()->className(), qPrintable(editorClass));
    if (auto *spin = qobject_cast<QSpinBox *>(editor)) {
        QCOMPARE(spin->minimum(), int(minimum));
        QCOMPARE(spin->maximum(), int(maximum));
        QCOMPARE(spin->singleStep(), int(step));
        QCOMPARE(QString::number(spin->value()), shown);
    } else if (auto *spin = qobject_cast<QDoubleSpinBox *>(editor)) {
        QCOMPARE(spin->minimum(), minimum);
        QCOMPARE(spin->maximum(), maximum);
        QCOMPARE(spin->singleStep(), step);
        QCOMPARE(QString::number(spin->value()), shown);
    } else if (auto *box = qobject_cast<QComboBox *>(editor)) {
        QCOMPARE(box->currentText(), shown);
    } else if (auto *edit = qobject_cast<QLineEdit *>(editor)) {
        QCOMPARE(edit->text(), shown);
    }
}

void tst_FeatureDelegate::enumerationOffersAvailableEntries()
{
    QScopedPointer<QWidget> before(editorFor(QStringLiteral("TriggerSource")));
    auto *box = qobject_cast<QComboBox *>(before.data());
    QVERIFY(box);
    QVERIFY(box->findText(QStringLiteral("Line4")) >= 0);

    // Line4 switched to output is no trigger source any more.
    QCOMPARE(m_Camera->feature("LineSelector")->SetValue("Line4"), TKN::OrvAPI::OrvErrSuccess);
    QCOMPARE(m_Camera->feature("LineMode")->SetValue("Output"), TKN::OrvAPI::OrvErrSuccess);
    QScopedPointer<QWidget> after(editorFor(QStringLiteral("TriggerSource")));
    box = qobject_cast<QComboBox *>(after.data());
    QVERIFY(box);
    QCOMPARE(box->findText(QStringLiteral("Line4")), -1);
    QVERIFY(box->findText(QStringLiteral("Line5")) >= 0);
}

void tst_FeatureDelegate::commitWritesOnlyChanges_data()
{
    QTest::addColumn<QString>("feature");
    QTest::addColumn<QString>("newValue");
    QTest::addColumn<QStringList>("written");

    QTest::newRow("integer changed") << "Height"
                                     << "1024" << QStringList { "Height=1024" };
    QTest::newRow("integer unchanged") << "Height"
                                       << "2048" << QStringList();
    QTest::newRow("enumeration changed") << "PixelFormat"
                                         << "Mono12" << QStringList { "PixelFormat=Mono12" };
    QTest::newRow("enumeration unchanged") << "PixelFormat"
                                           << "Mono8" << QStringList();
    QTest::newRow("string changed") << "DeviceUserID"
                                    << "left" << QStringList { "DeviceUserID=left" };
    QTest::newRow("float changed") << "Gain"
                                   << "1.5" << QStringList { "Gain=1.5" };
}

void tst_FeatureDelegate::commitWritesOnlyChanges()
{
    QFETCH(QString, feature);
    QFETCH(QString, newValue);
    QFETCH(QStringList, written);

    QWidget *editor = editorFor(feature);
    QVERIFY(editor);
    if (auto *spin = qobject_cast<QSpinBox *>(editor))
        spin->setValue(newValue.toInt());
    else if (auto *spin = qobject_cast<QDoubleSpinBox *>(editor))
        spin->setValue(newValue.toDouble());
    else if (auto *box = qobject_cast<QComboBox *>(editor))
        box->setCurrentIndex(box->findText(newValue));
    else if (auto *edit = qobject_cast<QLineEdit *>(editor))
        edit->setText(newValue);
    m_Delegate->setModelData(editor, m_Model, valueIndex(feature));
    QCOMPARE(TestCamera::writes(*m_Camera), written);
    QCOMPARE(valueIndex(feature).data().toString(), newValue);
}

QTEST_MAIN(tst_FeatureDelegate)
#include "tst_featuredelegate.moc"
