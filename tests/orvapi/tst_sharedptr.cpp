// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// TKN::OrvAPI::shared_ptr and its counter: what clients rely on for feature lifetimes.
#include <OrvikCPP.h>

#include <QtTest>

#include <thread>

using TKN::OrvAPI::ref_count;
using TKN::OrvAPI::shared_ptr;

namespace {

struct Counted
{
    explicit Counted(int *destroyed)
        : m_Destroyed(destroyed)
    {
    }
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
    void lastReferenceDeletesOnce();
    void droppingAZeroCountThrows();
    void countIsThreadSafe();
};

void tst_SharedPtr::lastReferenceDeletesOnce()
{
    int destroyedA = 0;
    int destroyedB = 0;
    shared_ptr<Derived> derived(new Derived(&destroyedA));
    shared_ptr<Counted> a(derived);
    shared_ptr<Counted> b(new Counted(&destroyedB));
    shared_ptr<Counted> copyOfB;
    copyOfB = b;
    QCOMPARE(a.use_count(), 2L);
    QVERIFY(copyOfB == b);

    a = b; // drops a's reference to the first object, shares b's
    QCOMPARE(derived.use_count(), 1L);
    QCOMPARE(b.use_count(), 3L);
    a = a;
    QCOMPARE(b.use_count(), 3L);
    derived.reset();
    QCOMPARE(destroyedA, 1);
    QVERIFY(!derived && derived == nullptr && derived.use_count() == 0);

    a.reset(new Counted(&destroyedA));
    b.reset();
    QCOMPARE(destroyedB, 0);
    copyOfB.reset();
    QCOMPARE(destroyedB, 1);
    a.reset();
    a.reset();
    QCOMPARE(destroyedA, 2);
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
            for (int i = 0; i < 20000; ++i)
                shared_ptr<Counted> copy(shared);
        });
    for (std::thread &thread : threads)
        thread.join();
    QCOMPARE(shared.use_count(), 1L);
    shared.reset();
    QCOMPARE(destroyed, 1);
}

QTEST_APPLESS_MAIN(tst_SharedPtr)
#include "tst_sharedptr.moc"
