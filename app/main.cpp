#include <QApplication>

// The application shell is not built yet: the program starts its Qt
// application and ends cleanly.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return 0;
}
