#pragma once

#include <QCoreApplication>
#include <QString>
#include <QTest>

// What every suite uses, widgets or not: table rows and the line CTest
// waits for.
namespace zrtest {

// One row of a data table; texts written as literals become QStrings.
inline QString cell(const char *text)
{
    return QString::fromUtf8(text);
}
template <typename T> const T &cell(const T &value)
{
    return value;
}
template <typename... Cells> void row(const char *name, const Cells &...cells)
{
    (QTest::newRow(name) << ... << cell(cells));
}

// Prints the line CTest waits for when no test failed; returns failures.
int finished(int failures);

} // namespace zrtest

// The one test main: prepare runs before the application exists, child in
// it before the tests. The line is printed only after every function ran
// and the application is gone, so an executable that ends early (an exit
// inside the code under test) fails whatever its exit code.
#define ZR_TEST_MAIN_OF(Application, TestClass, prepare, child)                                                        \
    int main(int argc, char **argv)                                                                                    \
    {                                                                                                                  \
        prepare;                                                                                                       \
        int failures = 0;                                                                                              \
        {                                                                                                              \
            Application app(argc, argv);                                                                               \
            child;                                                                                                     \
            TestClass tc;                                                                                              \
            failures = QTest::qExec(&tc, argc, argv);                                                                  \
        }                                                                                                              \
        return zrtest::finished(failures);                                                                             \
    }

#define ZR_CORE_TEST_MAIN(TestClass) ZR_TEST_MAIN_OF(QCoreApplication, TestClass, (void)0, (void)0)
