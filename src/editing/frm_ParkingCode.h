#pragma once

#include "editing/ParkingCodes.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The parking-code picker: lists the airlines of parkingspecs.mdb with their
// parking codes; a click on a row adds that code to the main window's
// atc_parking_codes field, or takes it out when it is there already. Modal;
// a new picker is built for every opening, so it always starts with the
// whole list and an empty filter. Build it, call Form_Load, then exec().
class frm_ParkingCode : public QDialog
{
    Q_OBJECT

public:
    // `codesField` is the field the picker reads and writes (the main window's
    // txt_atc_ParkingCodes).
    explicit frm_ParkingCode(QLineEdit* codesField, QWidget* parent = nullptr);

    // Column 0 is the grid's fixed column, 1 the airline, 2 its code.
    QTableWidget* MSHFlexGrid1 = nullptr;
    QLineEdit* txt_FilterParkingCodes = nullptr;
    QLineEdit* txt_airlinecodes = nullptr;
    QLineEdit* txt_parkingcodes = nullptr;
    QPushButton* CancelButton = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;

    // The program folder, ending with a separator.
    QString sAppPath;

    // Reads the airline list from parkingspecs.mdb in `programFolder` (or from
    // `database`, when the caller has found the file already) and shows it. A
    // list that cannot be read is reported and leaves the grid empty.
    void Form_Load(const QString& programFolder, const QString& database = {});
    // A click on grid row `row` (0 = the first airline).
    void MSHFlexGrid1_Click(int row);
    void txt_FilterParkingCodes_Change();
    void CancelButton_Click();

    // Sets each column of `grid` as wide as its widest text (header included)
    // in `window`'s font, plus 120 twips.
    static void AutoFitFlexGrid(QWidget* window, QTableWidget* grid);

    // Whether the airline list was read (the "connection" is open).
    bool isConnected() const { return m_connected; }

public slots:
    // Esc, the close box and CancelButton all end here.
    void reject() override;

private:
    void showRows(const QList<ParkingCodes::Airline>& rows);
    void showCodeCounter();

    QPointer<QLineEdit> m_codesField;
    QList<ParkingCodes::Airline> m_airlines; // the whole table, read once per opening
    bool m_connected = false;
};
