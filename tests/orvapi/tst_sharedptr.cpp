// TKN::OrvAPI::shared_ptr and its counter: what clients rely on for feature lifetimes.
#include <OrvikCPP.h>

#include <QtTest>

#include <thread>

using TKN::OrvAPI::ref_count;
using TKN::OrvAPI::shared_ptr;

namespace {

struct Counted
{
    explicit Counted(int *destroyed) : m_Destroyed(destroyed) {}
    virtual ~Counted() { ++*m_Destroyed; }
    int *m_Destroyed;
};

struct Derived : Counted
{
    using Counted::Counted;
};

} // namespace

class tst_SharedPtr : public QObject
{
    Q_OBJECT

private slots:
    void copiesShareOneCount();
    void resetAndAssignmentDropReferences();
    void emptyPointerReadsAsNull();
    void derivedConvertsToBase();
    void droppingAZeroCountThrows();
    void countIsThreadSafe();
};

void tst_SharedPtr::copiesShareOneCount()
{
    int destroyed = 0;
    {
        shared_ptr<Counted> first(new Counted(&destroyed));
        QCOMPARE(first.use_count(), 1L);
        {
            shared_ptr<Counted> second(first);
            shared_ptr<Counted> third;
            third = second;
            QCOMPARE(first.use_count(), 3L);
            QVERIFY(third == first);
            QCOMPARE(third.get(), first.get());
        }
        QCOMPARE(first.use_count(), 1L);
        QCOMPARE(destroyed, 0);
    }
    QCOMPARE(destroyed, 1);
}

void tst_SharedPtr::resetAndAssignmentDropReferences()
{
    int destroyedA = 0;
    int destroyedB = 0;
    shared_ptr<Counted> a(new Counted(&destroyedA));
    shared_ptr<Counted> b(new Counted(&destroyedB));
    shared_ptr<Counted> copyOfA(a);

    a = b;
    QCOMPARE(destroyedA, 0);
    QCOMPARE(copyOfA.use_count(), 1L);
    QCOMPARE(b.use_count(), 2L);

    a = a; // self-assignment keeps the count
    QCOMPARE(b.use_count(), 2L);

    copyOfA.reset();
    QCOMPARE(destroyedA, 1);
    QVERIFY(!copyOfA);

    b.reset();
    QCOMPARE(destroyedB, 0);
    a.reset(new Counted(&destroyedA));
    QCOMPARE(destroyedB, 1);
    a.reset();
    QCOMPARE(destroyedA, 2);
    a.reset(); // resetting an empty pointer is harmless
    QCOMPARE(a.use_count(), 0L);
}

void tst_SharedPtr::emptyPointerReadsAsNull()
{
    shared_ptr<Counted> empty;
    QVERIFY(!empty);
    QVERIFY(empty.get() == nullptr);
    QVERIFY(empty == nullptr);
    QCOMPARE(empty.use_count(), 0L);
    shared_ptr<Counted> fromNull(static_cast<Counted *>(nullptr));
    QVERIFY(!fromNull);
    QCOMPARE(fromNull.use_count(), 0L);
    shared_ptr<Counted> copy(empty);
    QVERIFY(copy == empty);
}

void tst_SharedPtr::derivedConvertsToBase()
{
    int destroyed = 0;
    shared_ptr<Derived> derived(new Derived(&destroyed));
    shared_ptr<Counted> base(derived);
    QCOMPARE(derived.use_count(), 2L);
    shared_ptr<Counted> assigned;
    assigned = derived;
    QCOMPARE(base.use_count(), 3L);
    derived.reset();
    base.reset();
    QCOMPARE(destroyed, 0);
    assigned.reset();
    QCOMPARE(destroyed, 1);
}

void tst_SharedPtr::droppingAZeroCountThrows()
{
    int destroyed = 0;
    ref_count<Counted> count(new Counted(&destroyed));
    QCOMPARE(count.inc(), 2L);
    QCOMPARE(count.dec(), 1L);
    QCOMPARE(count.dec(), 0L);
    QCOMPARE(destroyed, 1);
    try {
        count.dec();
        QFAIL("no exception");
    } catch (const std::logic_error &error) {
        QCOMPARE(QString(error.what()), QString("shared pointer, used incorectly"));
    }
    QCOMPARE(destroyed, 1);
    QCOMPARE(count.use_count(), 0L);
}

void tst_SharedPtr::countIsThreadSafe()
{
    int destroyed = 0;
    shared_ptr<Counted> shared(new Counted(&destroyed));
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([shared] {
            for (int i = 0; i < 20000; ++i) {
                shared_ptr<Counted> copy(shared);
                copy.reset();
            }
        });
    for (std::thread &thread : threads)
        thread.join();
    QCOMPARE(shared.use_count(), 1L);
    shared.reset();
    QCOMPARE(destroyed, 1);
}

QTEST_APPLESS_MAIN(tst_SharedPtr)
#include "tst_sharedptr.moc"
