#pragma once

// Aircraft folders built for the folder validation tests, and the input of
// a run with every option on.
#include "platform/ProfileEngine.h"
#include "validation/FolderValidation.h"

#include "TestUtil.h"

#include <QDebug>
#include <QObject>
#include <QTemporaryDir>
#include <QTest>

namespace testutil {

// Builds files below `base`: "a/b.bmp" (content "x"), "a/" (a folder) or
// "a/texture.cfg|<content>".
inline void build(const QString& base, const QStringList& items)
{
    for (const QString& item : items) {
        const qsizetype bar = item.indexOf(u'|');
        const QString rel = bar < 0 ? item : item.left(bar);
        if (rel.endsWith(u'/'))
            testutil::makeDir(base + u'/' + rel);
        else
            testutil::writeFile(base + u'/' + rel, bar < 0 ? QByteArray("x") : item.mid(bar + 1).toLatin1());
    }
}

inline QByteArray entry(int n, const QByteArray& keys)
{
    return "[fltsim." + QByteArray::number(n) + "]\r\n" + keys + "\r\n";
}

// A complete entry with everything present and unique.
inline QByteArray goodEntry(int n, const QByteArray& texture = "a")
{
    return entry(n, "title=Plane " + QByteArray::number(n) + "\r\nsim=B738\r\nmodel=\r\ntexture=" + texture +
                        "\r\natc_airline=KLM");
}

inline const QStringList kGoodFiles{"b738.air", "model/Model.cfg|[models]\r\nnormal=b738\r\n", "model/b738.mdl",
                                    "texture.a/t.bmp"};

// The base of the test classes: a temporary tree with an Effects folder of
// the simulator, and fresh aircraft folders in it.
class FolderValidationTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        m_fx = m_tmp.path() + "/Effects";
        build(m_fx, {"fx_wake.fx", "FX_Spray.FX"});
    }
    void init() { platform::profile::clearCache(); }

protected:
    QTemporaryDir m_tmp;
    int m_n = 0;
    QString m_fx;

    // A new aircraft folder <tmp>/caseN/Aircraft/ac with the given aircraft.cfg and files.
    QString aircraft(const QByteArray& cfg, const QStringList& files = {})
    {
        const QString ac = m_tmp.path() + QStringLiteral("/case%1/Aircraft/ac").arg(++m_n);
        testutil::writeFile(ac + "/aircraft.cfg", cfg);
        build(ac, files);
        return ac;
    }

    FolderValidation::Input input(const QString& ac) const
    {
        FolderValidation::Input in;
        in.aircraftFolder = ac;
        in.aircraftCfg = ac + "/aircraft.cfg";
        for (int i = 0; i < FolderValidation::kFlagCount; ++i)
            in.flags << QStringLiteral("1");
        in.airlinesFound = true;
        in.simulator = FolderValidation::Simulator::FSX;
        in.airlineLines = QStringList{"BRACKENHOLD", "KLM", ""};
        in.effectsFolder = m_fx;
        in.textureFormat = QStringLiteral("*.bmp");
        return in;
    }

    FolderValidation::Result run(const QString& ac)
    {
        const FolderValidation::Result r = FolderValidation::validate(input(ac));
        if (r.status != FolderValidation::Status::Ok)
            qWarning() << "validation failed:" << r.error;
        return r;
    }
};

} // namespace testutil
