// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The Feature interface's two-call buffer protocol, ranges and number texts, on simulated features.
#include "orvapitest.h"

#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <cstring>

using namespace OrvapiTest;

namespace {

/// Answers the length queries short and the fills long, as when the value
/// grows between the two calls.
class GrowingFeature : public Feature
{
public:
    using Feature::GetDisplayName;
    using Feature::GetName;
    using Feature::GetValue;
    using Feature::GetValues;

    mutable int calls = 0;

    OrvErrorType GetName(char *pBuffer, unsigned int &rnLength) const override
    {
        const std::string text = calls++ == 0 ? "Short" : "MuchLongerName";
        const unsigned int length = static_cast<unsigned int>(text.size());
        const bool tooSmall = pBuffer && rnLength < length;
        if (pBuffer)
            std::memcpy(pBuffer, text.c_str(), std::min(rnLength, length + 1));
        rnLength = length;
        return tooSmall ? OrvErrMoreData : OrvErrSuccess;
    }
    OrvErrorType GetValues(const char **ppValues, unsigned int &rnSize) const override
    {
        static const char *const entries[] = {"On", "Off", "Once"};
        const unsigned int count = calls++ == 0 ? 1 : 3;
        for (unsigned int i = 0; ppValues && i < rnSize && i < count; ++i)
            ppValues[i] = entries[i];
        const bool tooSmall = ppValues && rnSize < count;
        rnSize = count;
        return tooSmall ? OrvErrMoreData : OrvErrSuccess;
    }
    OrvErrorType GetDisplayName(char *, unsigned int &) const override { return OrvErrWrongType; }
    OrvErrorType GetDataType(OrvFeatureDataType &) const override { return OrvErrWrongType; }
    OrvErrorType GetValue(char *, unsigned int &) const override { return OrvErrWrongType; }
    OrvErrorType GetValue(long long &) const override { return OrvErrWrongType; }
    OrvErrorType GetValue(double &) const override { return OrvErrWrongType; }
    OrvErrorType GetValue(bool &) const override { return OrvErrWrongType; }
    OrvErrorType SetValue(const long long &) override { return OrvErrWrongType; }
    OrvErrorType SetValue(const double &) override { return OrvErrWrongType; }
    OrvErrorType SetValue(bool) override { return OrvErrWrongType; }
    OrvErrorType SetValue(const char *) override { return OrvErrWrongType; }
    OrvErrorType GetRange(long long &, long long &) const override { return OrvErrWrongType; }
    OrvErrorType GetRange(double &, double &) const override { return OrvErrWrongType; }
    OrvErrorType GetIncrement(long long &) const override { return OrvErrWrongType; }
    OrvErrorType GetIncrement(double &) const override { return OrvErrWrongType; }
    OrvErrorType IsValueAvailable(const char *, bool &) const override { return OrvErrWrongType; }
    OrvErrorType IsWritable(bool &) const override { return OrvErrWrongType; }
    OrvErrorType RunCommand() override { return OrvErrWrongType; }
    OrvErrorType RegisterObserver(const IFeatureObserverPtr &) override { return OrvErrWrongType; }
    OrvErrorType UnregisterObserver(const IFeatureObserverPtr &) override { return OrvErrWrongType; }
};

} // namespace

class tst_Feature : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_Camera = TestCamera::load("exposure-mode.json"); }
    void cleanup() { m_Camera.reset(); }

    void textBuffers_data();
    void textBuffers();
    void entryArrays();
    void readsRetryWhenTheValueGrew();
    void floatRangeAndBadParameters();
    void numberTextsIgnoreTheLocale_data();
    void numberTextsIgnoreTheLocale();

private:
    std::shared_ptr<OrvSim::Camera> m_Camera;
    QTemporaryDir m_LocaleDir;
};

void tst_Feature::textBuffers_data()
{
    // clang-format off
    QTest::addColumn<unsigned int>("bufferSize");
    QTest::addColumn<int>("expectedError");
    QTest::addColumn<QByteArray>("expectedContent");

    // TriggerActivation is "RisingEdge": 10 characters. '#' marks bytes left alone.
    QTest::newRow("room for the zero") << 11u << int(OrvErrSuccess) << QByteArray("RisingEdge\0#", 12);
    QTest::newRow("exact length, no zero") << 10u << int(OrvErrSuccess) << QByteArray("RisingEdge#");
    QTest::newRow("too small") << 6u << int(OrvErrMoreData) << QByteArray("Rising#");
    QTest::newRow("empty buffer") << 0u << int(OrvErrMoreData) << QByteArray("#");
    // clang-format on
}

void tst_Feature::textBuffers()
{
    QFETCH(unsigned int, bufferSize);
    QFETCH(int, expectedError);
    QFETCH(QByteArray, expectedContent);

    const FeaturePtr activation = m_Camera->feature("TriggerActivation");
    unsigned int length = 99;
    QCOMPARE(activation->GetValue(static_cast<char *>(nullptr), length), OrvErrSuccess);
    QCOMPARE(length, 10u);
    char buffer[40];
    std::memset(buffer, '#', sizeof(buffer));
    length = bufferSize;
    QCOMPARE(int(activation->GetValue(buffer, length)), expectedError);
    QCOMPARE(length, 10u);
    QCOMPARE(QByteArray(buffer, expectedContent.size()), expectedContent);
}

void tst_Feature::entryArrays()
{
    const FeaturePtr activation = m_Camera->feature("TriggerActivation");
    const char *pointers[7] = {};
    unsigned int count = 2;
    QCOMPARE(activation->GetValues(pointers, count), OrvErrMoreData);
    QCOMPARE(count, 5u);
    QVERIFY(pointers[1] && !pointers[2]);
    count = 7;
    QCOMPARE(activation->GetValues(pointers, count), OrvErrSuccess);
    QCOMPARE(count, 5u);
    QCOMPARE(QString(pointers[4]), QString("LevelLow"));
    QVERIFY(!pointers[5]);
}

void tst_Feature::readsRetryWhenTheValueGrew()
{
    GrowingFeature feature;
    std::string name;
    QCOMPARE(feature.GetName(name), OrvErrSuccess);
    QCOMPARE(q(name), QString("MuchLongerName"));
    feature.calls = 0;
    std::vector<std::string> entries;
    QCOMPARE(feature.GetValues(entries), OrvErrSuccess);
    QCOMPARE(q(entries), (QStringList{"On", "Off", "Once"}));
}

void tst_Feature::floatRangeAndBadParameters()
{
    double low = 0, high = 0, step = -1, none = -1;
    QCOMPARE(m_Camera->feature("Gain")->GetRange(low, high), OrvErrSuccess);
    QCOMPARE(m_Camera->feature("Gain")->GetIncrement(step), OrvErrSuccess);
    // A float without increment answers 0.
    QCOMPARE(m_Camera->feature("ExposureTime")->GetIncrement(none), OrvErrSuccess);
    QCOMPARE(QList<double>({low, high, step, none}), QList<double>({0.0, 24.0, 0.1, 0.0}));

    bool available = true;
    QCOMPARE(m_Camera->feature("TriggerMode")->SetValue(static_cast<const char *>(nullptr)), OrvErrBadParameter);
    QCOMPARE(m_Camera->feature("TriggerMode")->IsValueAvailable(nullptr, available), OrvErrBadParameter);
    QCOMPARE(m_Camera->feature("TriggerMode")->IsValueAvailable("Maybe", available), OrvErrNotFound);
}

void tst_Feature::numberTextsIgnoreTheLocale_data()
{
    // clang-format off
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("written");

    QTest::newRow("whole") << 20000.0 << "20000";
    QTest::newRow("fraction") << 15.25 << "15.25";
    QTest::newRow("shortest form") << 1234.1 << "1234.1";
    // clang-format on
}

void tst_Feature::numberTextsIgnoreTheLocale()
{
    QFETCH(double, value);
    QFETCH(QString, written);

    // A Qt host sets LC_NUMERIC from the environment; build a decimal-comma
    // locale when none is installed.
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        const QString build = "localedef -i de_DE -f UTF-8 " + m_LocaleDir.path() + "/de_DE.UTF-8 2>/dev/null";
        if (std::system(qPrintable(build)) == 0)
            qputenv("LOCPATH", m_LocaleDir.path().toLocal8Bit());
        if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
            QSKIP("no locale with a decimal comma");
    }
    const FeaturePtr exposure = m_Camera->feature("ExposureTime");
    const OrvErrorType err = exposure->SetValue(value);
    double readBack = 0;
    exposure->GetValue(readBack);
    std::setlocale(LC_NUMERIC, "C");

    QCOMPARE(err, OrvErrSuccess);
    QCOMPARE(readBack, value);
    QCOMPARE(q(m_Camera->writes()), QStringList{"ExposureTime=" + written});
    QCOMPARE(q(m_Camera->valueOf("ExposureTime")), written);
}

QTEST_APPLESS_MAIN(tst_Feature)
#include "tst_feature.moc"
