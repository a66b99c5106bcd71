// The Feature interface's two-call buffer protocol and data types, on simulated features.
#include "orvapitest.h"

#include <testcamera.h>

#include <QtTest>

#include <cstring>

using namespace TKN::OrvAPI;
using namespace OrvapiTest;

namespace {

/// Answers the length query with one length and the fill with a longer text,
/// as happens when the value changes between the two calls.
class GrowingFeature : public Feature
{
public:
    using Feature::GetName;
    using Feature::GetValue;
    using Feature::GetValues;
    using Feature::GetDisplayName;

    mutable int calls = 0;

    OrvErrorType GetName(char *pBuffer, unsigned int &rnLength) const override
    {
        const std::string text = calls++ == 0 ? "Short" : "MuchLongerName";
        const unsigned int length = static_cast<unsigned int>(text.size());
        if (!pBuffer) {
            rnLength = length;
            return OrvErrSuccess;
        }
        const bool tooSmall = rnLength < length;
        std::memcpy(pBuffer, text.data(), tooSmall ? rnLength : length);
        if (!tooSmall && rnLength > length)
            pBuffer[length] = '\0';
        rnLength = length;
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
    OrvErrorType GetValues(const char **, unsigned int &) const override { return OrvErrWrongType; }
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
    void init();
    void cleanup();

    void textBuffers_data();
    void textBuffers();
    void entryArrays_data();
    void entryArrays();
    void textReadRetriesWhenTheTextGrew();
    void dataTypes_data();
    void dataTypes();
    void wrongTypedCalls_data();
    void wrongTypedCalls();
    void rangesAndIncrements();
    void numbersRoundTrip_data();
    void numbersRoundTrip();

private:
    std::shared_ptr<OrvSim::Camera> m_Camera;
};

void tst_Feature::init()
{
    m_Camera = TestCamera::load("exposure-mode.json");
    QVERIFY(m_Camera);
}

void tst_Feature::cleanup()
{
    m_Camera.reset();
}

void tst_Feature::textBuffers_data()
{
    QTest::addColumn<unsigned int>("bufferSize");
    QTest::addColumn<int>("expectedError");
    QTest::addColumn<QByteArray>("expectedContent");

    // TriggerActivation is "RisingEdge": 10 characters.
    QTest::newRow("room for the zero") << 11u << int(OrvErrSuccess) << QByteArray("RisingEdge");
    QTest::newRow("larger buffer") << 32u << int(OrvErrSuccess) << QByteArray("RisingEdge");
    QTest::newRow("exact length, no zero") << 10u << int(OrvErrSuccess) << QByteArray("RisingEdge#");
    QTest::newRow("too small") << 6u << int(OrvErrMoreData) << QByteArray("Rising#");
    QTest::newRow("empty buffer") << 0u << int(OrvErrMoreData) << QByteArray("#");
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
    // Nothing is written beyond the buffer the caller handed in.
    QCOMPARE(QByteArray(buffer, expectedContent.size()), expectedContent);
}

void tst_Feature::entryArrays_data()
{
    QTest::addColumn<unsigned int>("arraySize");
    QTest::addColumn<int>("expectedError");
    QTest::addColumn<QStringList>("filled");

    QTest::newRow("exact") << 5u << int(OrvErrSuccess)
                           << QStringList{"RisingEdge", "FallingEdge", "AnyEdge", "LevelHigh", "LevelLow"};
    QTest::newRow("too small") << 2u << int(OrvErrMoreData) << QStringList{"RisingEdge", "FallingEdge"};
    QTest::newRow("larger") << 7u << int(OrvErrSuccess)
                            << QStringList{"RisingEdge", "FallingEdge", "AnyEdge", "LevelHigh", "LevelLow"};
}

void tst_Feature::entryArrays()
{
    QFETCH(unsigned int, arraySize);
    QFETCH(int, expectedError);
    QFETCH(QStringList, filled);

    const FeaturePtr activation = m_Camera->feature("TriggerActivation");
    unsigned int count = 0;
    QCOMPARE(activation->GetValues(static_cast<const char **>(nullptr), count), OrvErrSuccess);
    QCOMPARE(count, 5u);

    std::vector<const char *> pointers(arraySize, nullptr);
    count = arraySize;
    QCOMPARE(int(activation->GetValues(pointers.data(), count)), expectedError);
    QCOMPARE(count, 5u);
    QStringList result;
    for (const char *pointer : pointers)
        if (pointer)
            result << pointer;
    QCOMPARE(result, filled);
}

void tst_Feature::textReadRetriesWhenTheTextGrew()
{
    GrowingFeature feature;
    std::string name;
    QCOMPARE(feature.GetName(name), OrvErrSuccess);
    QCOMPARE(q(name), QString("MuchLongerName"));
}

void tst_Feature::dataTypes_data()
{
    QTest::addColumn<QString>("feature");
    QTest::addColumn<int>("type");

    QTest::newRow("integer") << "Width" << int(OrvFeatureDataInt);
    QTest::newRow("float") << "ExposureTime" << int(OrvFeatureDataFloat);
    QTest::newRow("enumeration") << "TriggerMode" << int(OrvFeatureDataEnum);
    QTest::newRow("string") << "DeviceModelName" << int(OrvFeatureDataString);
    QTest::newRow("boolean") << "LineInverter" << int(OrvFeatureDataBool);
    QTest::newRow("command") << "TriggerSoftware" << int(OrvFeatureDataCommand);
    QTest::newRow("raw") << "FileAccessBuffer" << int(OrvFeatureDataRaw);
}

void tst_Feature::dataTypes()
{
    QFETCH(QString, feature);
    QFETCH(int, type);

    const FeaturePtr f = m_Camera->feature(feature.toStdString());
    OrvFeatureDataType result = OrvFeatureDataUnknown;
    QCOMPARE(f->GetDataType(result), OrvErrSuccess);
    QCOMPARE(int(result), type);
    QCOMPARE(name(f), feature);
}

void tst_Feature::wrongTypedCalls_data()
{
    QTest::addColumn<QString>("feature");
    QTest::addColumn<QString>("call");

    for (const char *feature : {"TriggerMode", "DeviceModelName", "LineInverter", "TriggerSoftware", "FileAccessBuffer"}) {
        QTest::addRow("%s GetValue integer", feature) << feature << "GetValue integer";
        QTest::addRow("%s SetValue integer", feature) << feature << "SetValue integer";
        QTest::addRow("%s GetRange integer", feature) << feature << "GetRange integer";
    }
    for (const char *feature : {"Width", "LineInverter", "TriggerSoftware", "FileAccessBuffer"}) {
        QTest::addRow("%s GetValue text", feature) << feature << "GetValue text";
        QTest::addRow("%s SetValue text", feature) << feature << "SetValue text";
        QTest::addRow("%s GetValues", feature) << feature << "GetValues";
        QTest::addRow("%s IsValueAvailable", feature) << feature << "IsValueAvailable";
    }
    for (const char *feature : {"Width", "TriggerMode", "LineInverter", "FileAccessBuffer"})
        QTest::addRow("%s RunCommand", feature) << feature << "RunCommand";
    QTest::newRow("float read of an integer") << "Width" << "GetValue float";
    QTest::newRow("float write of an integer") << "Width" << "SetValue float";
    QTest::newRow("float range of an integer") << "Width" << "GetRange float";
    QTest::newRow("float increment of an integer") << "Width" << "GetIncrement float";
    QTest::newRow("integer read of a float") << "ExposureTime" << "GetValue integer";
    QTest::newRow("integer increment of a float") << "ExposureTime" << "GetIncrement integer";
    QTest::newRow("boolean read of an enumeration") << "TriggerMode" << "GetValue bool";
    QTest::newRow("boolean write of an integer") << "Width" << "SetValue bool";
    QTest::newRow("raw boolean read") << "FileAccessBuffer" << "GetValue bool";
    QTest::newRow("raw float write") << "FileAccessBuffer" << "SetValue float";
}

void tst_Feature::wrongTypedCalls()
{
    QFETCH(QString, feature);
    QFETCH(QString, call);

    const FeaturePtr f = m_Camera->feature(feature.toStdString());
    const std::string before = m_Camera->valueOf(feature.toStdString());
    long long integer = 0;
    double number = 0;
    bool flag = false;
    std::string text;
    std::vector<std::string> entries;
    OrvErrorType err = OrvErrSuccess;
    if (call == "GetValue integer")
        err = f->GetValue(integer);
    else if (call == "SetValue integer")
        err = f->SetValue(static_cast<const long long &>(1LL));
    else if (call == "GetRange integer")
        err = f->GetRange(integer, integer);
    else if (call == "GetIncrement integer")
        err = f->GetIncrement(integer);
    else if (call == "GetValue float")
        err = f->GetValue(number);
    else if (call == "SetValue float")
        err = f->SetValue(16.0);
    else if (call == "GetRange float")
        err = f->GetRange(number, number);
    else if (call == "GetIncrement float")
        err = f->GetIncrement(number);
    else if (call == "GetValue bool")
        err = f->GetValue(flag);
    else if (call == "SetValue bool")
        err = f->SetValue(true);
    else if (call == "GetValue text")
        err = f->GetValue(text);
    else if (call == "SetValue text")
        err = f->SetValue("On");
    else if (call == "GetValues")
        err = f->GetValues(entries);
    else if (call == "IsValueAvailable")
        err = f->IsValueAvailable("On", flag);
    else if (call == "RunCommand")
        err = f->RunCommand();
    QCOMPARE(err, OrvErrWrongType);
    QCOMPARE(q(m_Camera->valueOf(feature.toStdString())), q(before));
}

void tst_Feature::rangesAndIncrements()
{
    long long minimum = 0, maximum = 0, increment = 0;
    const FeaturePtr width = m_Camera->feature("Width");
    QCOMPARE(width->GetRange(minimum, maximum), OrvErrSuccess);
    QCOMPARE(width->GetIncrement(increment), OrvErrSuccess);
    QCOMPARE(minimum, 16LL);
    QCOMPARE(maximum, 2448LL);
    QCOMPARE(increment, 16LL);

    double low = 0, high = 0, step = -1;
    const FeaturePtr gain = m_Camera->feature("Gain");
    QCOMPARE(gain->GetRange(low, high), OrvErrSuccess);
    QCOMPARE(gain->GetIncrement(step), OrvErrSuccess);
    QCOMPARE(low, 0.0);
    QCOMPARE(high, 24.0);
    QCOMPARE(step, 0.1);
    // A float without increment answers 0.
    QCOMPARE(m_Camera->feature("ExposureTime")->GetIncrement(step), OrvErrSuccess);
    QCOMPARE(step, 0.0);
    QCOMPARE(m_Camera->feature("TriggerMode")->SetValue(static_cast<const char *>(nullptr)), OrvErrBadParameter);
    bool available = true;
    QCOMPARE(m_Camera->feature("TriggerMode")->IsValueAvailable("Maybe", available), OrvErrNotFound);
    QCOMPARE(m_Camera->feature("TriggerMode")->IsValueAvailable(nullptr, available), OrvErrBadParameter);
}

void tst_Feature::numbersRoundTrip_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("written");

    QTest::newRow("whole") << 20000.0 << "20000";
    QTest::newRow("fraction") << 15.25 << "15.25";
    QTest::newRow("large") << 10000000.0 << "1e+07";
    QTest::newRow("shortest form") << 1234.1 << "1234.1";
}

void tst_Feature::numbersRoundTrip()
{
    QFETCH(double, value);
    QFETCH(QString, written);

    // Journal texts must not depend on the C locale a Qt host sets.
    const char *const previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    const FeaturePtr exposure = m_Camera->feature("ExposureTime");
    m_Camera->clearJournal();
    const OrvErrorType err = exposure->SetValue(value);
    double readBack = 0;
    exposure->GetValue(readBack);
    std::setlocale(LC_NUMERIC, saved.c_str());

    QCOMPARE(err, OrvErrSuccess);
    QCOMPARE(readBack, value);
    QCOMPARE(q(m_Camera->writes()), QStringList{"ExposureTime=" + written});
    QCOMPARE(q(m_Camera->valueOf("ExposureTime")), written);
}

QTEST_APPLESS_MAIN(tst_Feature)
#include "tst_feature.moc"
