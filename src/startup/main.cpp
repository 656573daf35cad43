#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QLabel label("Korvendal XL");
    label.show();
    return application.exec();
}
