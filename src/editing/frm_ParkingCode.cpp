#include "editing/frm_ParkingCode.h"

#include "shared/BalloonTip.h"
#include "shared/Globals.h"
#include "shared/MessageBox.h"

#include <QDir>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

enum Column
{
    ColFixed = 0,
    ColAirline = 1,
    ColCode = 2,
};

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

QLineEdit* makeField(QWidget* parent, const QString& name, const QString& tip, bool readOnly)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setToolTip(tip);
    field->setReadOnly(readOnly);
    return field;
}

} // namespace

frm_ParkingCode::frm_ParkingCode(QLineEdit* codesField, QWidget* parent)
    : QDialog(parent), m_codesField(codesField)
{
    setObjectName(QStringLiteral("frm_ParkingCode"));
    setWindowTitle(QStringLiteral("Selelct the parking code"));
    setModal(true);

    Label1 = makeLabel(this, QStringLiteral("Label1"), QStringLiteral("filter condition"));
    txt_FilterParkingCodes =
        makeField(this, QStringLiteral("txt_FilterParkingCodes"),
                  QStringLiteral("Enter a filter condition to reduce the elements in the "
                                 "airline list. The filter condition can be any part of the "
                                 "name."),
                  false);

    MSHFlexGrid1 = new QTableWidget(0, 3, this);
    MSHFlexGrid1->setObjectName(QStringLiteral("MSHFlexGrid1"));
    MSHFlexGrid1->setToolTip(
        QStringLiteral("Click on an item to add the parking code in the respective "
                       "atc_parking_codes filed on the main form. Click a second time to "
                       "remove the parking code."));
    MSHFlexGrid1->setHorizontalHeaderLabels({QString(), QStringLiteral("Airline"), QStringLiteral("Code")});
    MSHFlexGrid1->verticalHeader()->hide();
    MSHFlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSHFlexGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    MSHFlexGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    MSHFlexGrid1->setWordWrap(false);
    MSHFlexGrid1->horizontalHeader()->setHighlightSections(false);
    // The empty fixed column is only a few pixels wide.
    MSHFlexGrid1->horizontalHeader()->setMinimumSectionSize(1);
    MSHFlexGrid1->setMinimumSize(360, 300);

    Label2 = makeLabel(this, QStringLiteral("Label2"), QStringLiteral("listed parking codes"));
    txt_airlinecodes = makeField(
        this, QStringLiteral("txt_airlinecodes"),
        QStringLiteral("# of airlines found that match the filter criteria (inclusive no filter)"), true);
    Label3 = makeLabel(this, QStringLiteral("Label3"), QStringLiteral("assigned parking codes"));
    txt_parkingcodes = makeField(
        this, QStringLiteral("txt_parkingcodes"),
        QStringLiteral("# of parking codes already assigned to the [fltsim.x] variation you edit"), true);

    CancelButton = new QPushButton(QStringLiteral("&Close"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setToolTip(QStringLiteral("Press the ESC key or click this button to close the dialog."));
    CancelButton->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(Label1);
    filterRow->addWidget(txt_FilterParkingCodes, 1);
    layout->addLayout(filterRow);
    layout->addWidget(MSHFlexGrid1, 1);
    auto* counters = new QGridLayout;
    counters->addWidget(Label2, 0, 0);
    counters->addWidget(txt_airlinecodes, 0, 1);
    counters->addWidget(Label3, 1, 0);
    counters->addWidget(txt_parkingcodes, 1, 1);
    counters->setColumnStretch(2, 1);
    counters->addWidget(CancelButton, 1, 3);
    for (QLineEdit* counter : {txt_airlinecodes, txt_parkingcodes})
        counter->setFixedWidth(counter->fontMetrics().horizontalAdvance(QStringLiteral("000 of 5")) + 16);
    layout->addLayout(counters);

    connect(MSHFlexGrid1, &QTableWidget::cellClicked, this,
            [this](int row, int) { MSHFlexGrid1_Click(row); });
    connect(txt_FilterParkingCodes, &QLineEdit::textChanged, this,
            &frm_ParkingCode::txt_FilterParkingCodes_Change);
    connect(CancelButton, &QPushButton::clicked, this, &frm_ParkingCode::CancelButton_Click);
}

void frm_ParkingCode::Form_Load(const QString& programFolder, const QString& database)
{
    balloontips::SetUpToolTips(this, globals::gbToolTips);
    sAppPath = QDir(programFolder).absolutePath();
    if (!sAppPath.endsWith(u'/'))
        sAppPath += u'/';

    const QString path = database.isEmpty() ? ParkingCodes::findDatabase(sAppPath) : database;
    const ParkingCodes::Listing listing =
        path.isEmpty() ? ParkingCodes::Listing{} : ParkingCodes::readDatabase(path);
    if (!listing.ok) {
        msgbox::MsgBox(QStringLiteral("Error opening the parking code file"),
                       msgbox::vbOKOnly | msgbox::vbCritical);
        return;
    }
    m_airlines = listing.rows;
    m_connected = true;
    showRows(m_airlines);
    AutoFitFlexGrid(this, MSHFlexGrid1);
    showCodeCounter();
}

void frm_ParkingCode::showRows(const QList<ParkingCodes::Airline>& rows)
{
    MSHFlexGrid1->clearContents();
    MSHFlexGrid1->setRowCount(static_cast<int>(rows.size()));
    const QBrush fixedBack = palette().button();
    for (int r = 0; r < MSHFlexGrid1->rowCount(); ++r) {
        auto* fixed = new QTableWidgetItem;
        fixed->setFlags(Qt::ItemIsEnabled);
        fixed->setBackground(fixedBack);
        MSHFlexGrid1->setItem(r, ColFixed, fixed);
        MSHFlexGrid1->setItem(r, ColAirline, new QTableWidgetItem(rows[r].name));
        MSHFlexGrid1->setItem(r, ColCode, new QTableWidgetItem(rows[r].code));
    }
    txt_airlinecodes->setText(QString::number(rows.size()));
}

void frm_ParkingCode::showCodeCounter()
{
    txt_parkingcodes->setText(ParkingCodes::counterText(m_codesField ? m_codesField->text() : QString()));
}

void frm_ParkingCode::AutoFitFlexGrid(QWidget* window, QTableWidget* grid)
{
    const QFontMetrics metrics = window->fontMetrics();
    const int padding = qRound(120.0 * window->logicalDpiX() / 1440.0);
    for (int c = 0; c < grid->columnCount(); ++c) {
        int widest = 0;
        if (const QTableWidgetItem* head = grid->horizontalHeaderItem(c))
            widest = metrics.horizontalAdvance(head->text());
        for (int r = 0; r < grid->rowCount(); ++r) {
            if (const QTableWidgetItem* item = grid->item(r, c))
                widest = std::max(widest, metrics.horizontalAdvance(item->text()));
        }
        // Qt frames a cell's text with margins of its own: never so narrow
        // that the style has to cut the text short.
        int width = widest + padding;
        if (widest > 0) {
            const QAbstractItemView* view = grid; // the size hint is public there
            width =
                std::max({width, view->sizeHintForColumn(c), grid->horizontalHeader()->sectionSizeHint(c)});
        }
        grid->setColumnWidth(c, width);
    }
}

void frm_ParkingCode::txt_FilterParkingCodes_Change()
{
    showRows(ParkingCodes::filtered(m_airlines, txt_FilterParkingCodes->text()));
}

void frm_ParkingCode::MSHFlexGrid1_Click(int row)
{
    if (row < 0 || row >= MSHFlexGrid1->rowCount() || !m_codesField)
        return;
    MSHFlexGrid1->setCurrentCell(row, ColCode);
    const QTableWidgetItem* cell = MSHFlexGrid1->item(row, ColCode);
    const QString code = cell ? cell->text() : QString();

    const ParkingCodes::Toggle result = ParkingCodes::toggleCode(m_codesField->text(), code);
    if (result.outcome == ParkingCodes::Outcome::LimitReached)
        msgbox::MsgBox(QStringLiteral("You are not allowed to add more than five (5) parkig codes"),
                       msgbox::vbOKOnly | msgbox::vbInformation);
    else if (result.codes != m_codesField->text())
        m_codesField->setText(result.codes);
    showCodeCounter();
}

void frm_ParkingCode::CancelButton_Click()
{
    reject();
}

void frm_ParkingCode::reject()
{
    m_airlines.clear();
    m_connected = false;
    QDialog::reject();
}
