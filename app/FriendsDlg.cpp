#include "app/FriendsDlg.h"

#include "app/FriendList.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CFriendsDlg::CFriendsDlg(const QStringList& entries, const QString& problem, QWidget* parent)
    : QDialog(parent), m_readOnly(!problem.isEmpty())
{
    setWindowTitle(tr("Friends"));
    auto* layout = new QVBoxLayout(this);
    if (m_readOnly) {
        auto* said = new QLabel(tr("The friends file cannot be read: %1").arg(problem), this);
        said->setWordWrap(true);
        layout->addWidget(said);
    }
    m_list = new QListWidget(this);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->addItems(entries);
    layout->addWidget(m_list);
    auto* hint = new QLabel(tr("A player's name, or a pattern with * for any characters:"), this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    auto* edit = new QHBoxLayout;
    m_name = new QLineEdit(this);
    hint->setBuddy(m_name);
    m_add = new QPushButton(tr("Add"), this);
    m_remove = new QPushButton(tr("Remove"), this);
    edit->addWidget(m_name, 1);
    edit->addWidget(m_add);
    edit->addWidget(m_remove);
    layout->addLayout(edit);
    auto* buttons = new QHBoxLayout;
    m_ok = new QPushButton(tr("OK"), this);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    m_ok->setDefault(!m_readOnly);
    m_add->setAutoDefault(false);
    connect(m_add, &QPushButton::clicked, this, &CFriendsDlg::AddName);
    connect(m_remove, &QPushButton::clicked, this, &CFriendsDlg::RemoveSelected);
    connect(m_ok, &QPushButton::clicked, this, &CFriendsDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CFriendsDlg::reject);
    // Enter in the name field adds the name rather than closing the dialog.
    connect(m_name, &QLineEdit::returnPressed, this, &CFriendsDlg::AddName);
    connect(m_name, &QLineEdit::textChanged, this, &CFriendsDlg::UpdateButtons);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &CFriendsDlg::UpdateButtons);
    UpdateButtons();
    resize(sizeHint().expandedTo(QSize(320, 300)));
}

QStringList CFriendsDlg::Entries() const
{
    QStringList entries;
    for (int i = 0; i < m_list->count(); ++i)
        entries.append(m_list->item(i)->text());
    return entries;
}

void CFriendsDlg::AddName()
{
    CFriendList friends(Entries());
    if (m_readOnly || !friends.Add(m_name->text()))
        return;
    m_list->addItem(friends.Entries().back());
    m_list->setCurrentRow(m_list->count() - 1);
    m_name->clear();
}

void CFriendsDlg::RemoveSelected()
{
    if (m_readOnly)
        return;
    for (QListWidgetItem* item : m_list->selectedItems())
        delete m_list->takeItem(m_list->row(item));
    UpdateButtons();
}

void CFriendsDlg::accept()
{
    if (m_readOnly || !m_save || m_save(Entries()))
        QDialog::accept();
}

void CFriendsDlg::UpdateButtons()
{
    m_add->setEnabled(!m_readOnly && CFriendList::IsUsable(m_name->text()));
    m_remove->setEnabled(!m_readOnly && !m_list->selectedItems().isEmpty());
    m_name->setEnabled(!m_readOnly);
}
