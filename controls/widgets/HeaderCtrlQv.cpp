#include "HeaderCtrlQv.h"

CHeaderCtrlQv::CHeaderCtrlQv(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
}
