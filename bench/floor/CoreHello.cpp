// The floor for `paysum --version`: a plain Qt Core program that prints one line and ends.
#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    std::puts("PAYSUM 1.0");
    return 0;
}
