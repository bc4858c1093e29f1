#include "FolderLoad.h"

#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/DirList.h"

#include "SimFiles.h"
#include "TestUtil.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QTest>

namespace testutil {

QByteArray crlf(const char* text)
{
    return QByteArray(text).replace("\n", "\r\n") + "\r\n";
}

QByteArray mdl9(quint8 radius)
{
    QByteArray b(32, '\x11');
    b.replace(0, 4, "RIFF");
    b.replace(8, 4, "MDL9");
    b[28] = static_cast<char>(radius);
    return b;
}

QString makeFullAircraft(const QString& folder)
{
    writeFile(folder + "/aircraft.cfg", crlf(R"([fltsim.0]
title=Heather Jet 100 //first
sim=HJ100
model=
panel=
texture=
atc_airline=HEATHER
atc_flight_number=100
atc_heavy=0
atc_id=HJ-100
atc_parking_types=gate,ramp
atc_parking_codes=HJ
ui_manufacturer=Heather
ui_type=HJ 100
ui_variation=House colours
ui_typerole=Commercial Airliner
ui_createdby=Fernquill tests
description=Short-haul jet //kept as written
atc_model=HJ1

[fltsim.1]
title=Heather Jet 100 Cargo
sim=HJ100
model=freighter
texture=Cargo

[fltsim.2]
title=Heather Jet 200
texture=Blue/Dark

[General]
atc_type=HEATHER
atc_model=HJ1 //g

[airplane_geometry]
wing_span=112.6 //ft

[exits]
exit.0=0.4, 27.0, -4.0, 4.5, 0 //Main door
exit.1=0.4, 27.0, -4.0, 4.5
exit.2=0.5, 10.0, 4.0, 4.5, 1 //Cargo door

[effects]
wake=fx_wake
touchdown=fx_tchdwn, 1)"));
    writeFile(folder + "/model/model.cfg", "[models]\r\nnormal=hj100.mdl\r\n");
    writeFile(folder + "/model/hj100.mdl", mdl9(40));
    makeDir(folder + "/model.freighter");
    makeDir(folder + "/texture");
    makeDir(folder + "/texture.Cargo");
    writeFile(folder + "/HJ100.air", airTypeRecord(0));
    return folder;
}

QString makeCfg(const QString& folder, const QByteArray& cfg)
{
    writeFile(folder + "/aircraft.cfg", cfg);
    return folder;
}

QStringList itemsOf(const QComboBox* combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

QStringList itemsOf(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QList<QLineEdit*> exitBoxes(frm_Main& w)
{
    return w.ui.txt_Exit_0 + w.ui.txt_Exit_1 + w.ui.txt_Exit_2;
}

QList<QLineEdit*> entryFields(frm_Main& w)
{
    return {w.ui.txt_Title,           w.ui.txt_atc_ParkingCodes, w.ui.txt_ui_CreatedBy,
            w.ui.txt_ui_TypeRole,     w.ui.txt_ui_Manufacturer,  w.ui.txt_ui_Type,
            w.ui.txt_ui_Variation,    w.ui.txt_atc_Id,           w.ui.txt_atc_Flight_Number,
            w.ui.txt_atc_Airline,     w.ui.txt_atc_Model,        w.ui.txt_general_atc_model,
            w.ui.txt_general_atc_type};
}

QList<QAction*> entryMenus(frm_Main& w)
{
    return {w.ui.mnuCFG, w.ui.mnuDelKeys, w.ui.mnuSortKeys, w.ui.mnuRenumber, w.ui.mnuValidate};
}

void FolderLoadTest::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void FolderLoadTest::init()
{
    m_tmp = std::make_unique<QTemporaryDir>();
    m_boxes = std::make_unique<BoxRecorder>();
    m_fixture = std::make_unique<MainWindowFixture>();
    m_fixture->start();
}

void FolderLoadTest::cleanup()
{
    m_fixture.reset();
    if (m_boxes && !m_boxes->calls().empty())
        QFAIL(qPrintable("unexpected boxes: " + m_boxes->prompts().join(" | ")));
    m_boxes.reset();
    m_tmp.reset();
}

void FolderLoadTest::load(const QString& folder)
{
    frm_Main& w = window();
    if (w.folderPath() == folder)
        w.RunChange();
    else
        QVERIFY2(w.ui.Dir1->setPath(folder), qPrintable(folder));
}

} // namespace testutil
