#pragma once

#include <QString>

// The short texts of a business grid, 5 to 10 characters each, the same for
// the same cell in every run: per row an order code, a product name, a
// quantity, a unit price, an amount, a date, a warehouse code and a clerk.
constexpr int kBusinessColumns = 8;
QString BusinessText(int row, int column);
