#include "app/MasterServerDlg.h"

#include "app/AddressText.h"
#include "panlo/ControlId.h"
#include "panlo/DialogUnits.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {

const char* const kHint =
    QT_TRANSLATE_NOOP("CMasterServerDlg", "Address of the master server, for example\n"
                                          "wolfmaster.idsoftware.com:27950");

int PortOf(const QString& text)
{
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    bool ok = false;
    const int port = colon < 0 ? 0 : text.mid(colon + 1).toInt(&ok);
    return ok ? port : 27950;
}

} // namespace

CMasterServerDlg::CMasterServerDlg(const QString& master, QWidget* parent)
    : QDialog(parent), m_master(master)
{
    setWindowTitle(tr("Master Server ..."));
    const CDialogUnits units(font());
    m_hint = new QLabel(tr(kHint), this);
    m_hint->setWordWrap(true);
    SetControlId(m_hint, IDC_HINT);
    m_edit = new QLineEdit(master, this);
    SetControlId(m_edit, IDC_MASTER);
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setGeometry(units.ToPixels(141, 5, 50, 14));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setGeometry(units.ToPixels(141, 24, 50, 14));
    connect(ok, &QPushButton::clicked, this, &CMasterServerDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CMasterServerDlg::reject);
    Arrange();
}

void CMasterServerDlg::Arrange()
{
    // The hint takes the lines its text needs at this font; the edit and the dialog's
    // bottom move down by what it needs beyond the template's two lines.
    const CDialogUnits units(font());
    const QRect hint = units.ToPixels(7, 4, 126, 20);
    const int grow = std::max(0, m_hint->heightForWidth(hint.width()) - hint.height());
    m_hint->setGeometry(hint.adjusted(0, 0, 0, grow));
    m_edit->setGeometry(units.ToPixels(6, 24, 123, 14).translated(0, grow));
    setFixedSize(units.ToPixels(0, 0, 196, 42).size() + QSize(0, grow));
}

void CMasterServerDlg::accept()
{
    QString text = m_edit->text().trimmed();
    const bool hasPort = text.contains(QLatin1Char(':')) || text.contains(QLatin1Char('['));
    const auto port = static_cast<std::uint16_t>(PortOf(m_master));
    if (!ParseAddressText(text, port)) {
        m_hint->setText(tr("\"%1\" is no master server address that can be "
                           "found. Check the name and the port.")
                            .arg(text));
        Arrange();
        m_edit->setFocus();
        m_edit->selectAll();
        return;
    }
    m_master = hasPort ? text : QStringLiteral("%1:%2").arg(text).arg(port);
    QDialog::accept();
}
