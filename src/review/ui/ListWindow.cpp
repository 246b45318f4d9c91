#include "review/ui/ListWindow.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tavrin {

void LayOutListWindow(QDialog& window, QLabel* heading, QTableWidget* table) {
  table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  table->horizontalHeader()->setStretchLastSection(true);
  // Rows as high as their wrapped text at the columns' final widths, which the layout decides.
  QObject::connect(table->horizontalHeader(), &QHeaderView::sectionResized, table,
                   [table] { table->resizeRowsToContents(); });
  auto* close = new QPushButton(QStringLiteral("閉じる"), &window);
  close->setDefault(true);
  QObject::connect(close, &QPushButton::clicked, &window, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(heading);
  layout->addWidget(table, 1);
  layout->addLayout(buttons);
  window.resize(720, 420);
}

}  // namespace tavrin
