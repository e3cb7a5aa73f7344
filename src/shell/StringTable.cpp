#include "StringTable.h"

#include <algorithm>
#include <iterator>

namespace zal {
namespace {

struct Entry {
    int id;
    const char* text; // UTF-8
};

// Sorted by number.
constexpr Entry kEntries[] = {
    {10001, "Willkommen im Vesk Programm zur Konfiguration der ZAL Produktfamilie"},
    {10002, "Bitte Produkt für Konfiguration wählen"},
    {10003, "Funksender mit verkableten Eingängen"},
    {10004, "Sende/Empfänger für verkabelete Ein/Ausgänge"},
    {10005, "Funkrepeater zur Vergrößerung der Funkreichweite"},
    {10006, "Dualband Funkrepaeter zur Vergrößerung der Funkreichweite"},
    {10007, "Funkempfänger mit verkabeltem Ausgang"},
    {10101, "&Datei"},
    {10102, "&Neu"},
    {10103, "Neu version"},
    {10104, "V1.x"},
    {10105, "V20.xx"},
    {10106, "V21.xx"},
    {10107, "V22.xx"},
    {10108, "&Öffnen"},
    {10109, "&Speichern"},
    {10110, "Speichern &als..."},
    {10111, "Wähle Standard&verzeichnis..."},
    {10112, "&Beenden"},
    {10113, "&Kommunikation"},
    {10114, "&Lese aus Gerät"},
    {10115, "&Schreibe in Gerät"},
    {10116, "Schreibe ,Default BORA' in Gerät"},
    {10117, "Schreibe ,Default ZAL' in Gerät"},
    {10118, "Schreibe ,Default MUVE' in Gerät"},
    {10119, "Schreibe ,Default DORF' in Gerät"},
    {10120, "Schreibe Byte für Version in v1.x Gerät"},
    {10121, "Ändere feste Funk-ID Codes"},
    {10130, "&Hilfe"},
    {10131, "&Über.."},
    {10151, "Wähle Standardverzeichnis"},
    {10152, "Standardverzeichnis"},
    {10153, "Das unten angegebene Verzeichnis gibt den voreingestellten Speicherort für die K-ORBA "
            "Konfigurationsdateien an."},
    {10154, "&Suchen..."},
    {10155, "Wähle neues Standardverzeichnis"},
    {10201, "Funkeingänge"},
    {10202, "Standorte"},
    {10203, "Verkabelte Eingänge"},
    {10204, "Weitere"},
    {10301, "Funksender"},
    {10302, "Aktion"},
    {10303, "Standorte"},
    {10304, "Aktion"},
    {10305, "Auslösetyp"},
    {10306, "Aktion"},
    {10307, "Einstellungen Analogeingänge"},
    {10308, "Diverse"},
    {10309, "Funk"},
    {10310, "Produkt Info"},
    {10401, "Funk ID's"},
    {10402, "Position 1"},
    {10403, "Position 2"},
    {10404, "Position 3"},
    {10405, "Position 4"},
    {10406, "Position 5"},
    {10407, "Position 6"},
    {10408, "Position 7"},
    {10409, "Position 8"},
    {10410, "Feste ID"},
    {10411, "Alle ID's"},
    {10421, "Relais"},
    {10422, "Funk Übertragung"},
    {10423, "ID"},
    {10424, "Alarmtyp"},
    {10425, "Sendeverzögerung (Sek)"},
    {10431, "Standortkennung"},
    {10432, "K-ORBA Typ"},
    {10433, "Position 1"},
    {10434, "Position 2"},
    {10435, "Position 3"},
    {10436, "Position 4"},
    {10437, "Position 5"},
    {10438, "Position 6"},
    {10439, "Position 7"},
    {10440, "Position 8"},
    {10451, "Relais"},
    {10452, "Relais sperren nach Personal (Sek)"},
    {10461, "Eingangs Typ"},
    {10462, "Eing. 1"},
    {10463, "Eing. 2"},
    {10464, "Eing. 3"},
    {10465, "Eing. 4"},
    {10466, "Eing. 5"},
    {10471, "Relais"},
    {10472, "Funk Übertragung"},
    {10473, "ID"},
    {10474, "Alarmtyp"},
    {10475, "Alarm Rückstellzeit (Sek)"},
    {10481, "Schwellwert, Eingang 4"},
    {10482, "V (DC)"},
    {10483, "Schwellwert, Eingang 5"},
    {10484, "V (DC)"},
    {10485, "Sende Alarm, wenn analoger Eingang"},
    {10491, "Stromversorgungsmodus"},
    {10492, "Batteriealarm Meldung"},
    {10493, "Batteriealarm Intervall (0=Aus)"},
    {10494, "Batterie schwach Schwellwert (V)"},
    {10495, "Stromausfall Meldung"},
    {10496, "Stromversorgung wieder OK"},
    {10497, "Testalarm Intervall (0=Aus)"},
    {10498, "Batterieladedauer (Std)"},
    {10499, "Einschaltverzögerung (Sek)"},
    {10500, "Auslöseverzögerung (Sek)"},
    {10501, "Ausgangsaktivierungsdauer (Sek)"},
    {10511, "Anzahl kurzer Übertragungen"},
    {10512, "Anzahl langer Übertragungen"},
    {10513, "Verzögerung der Übertragung (Sek)"},
    {10514, "Verwende Jumper"},
    {10515, "Max Anzahl Wiederholungen (1..15)"},
    {10516, "Verwende Jumper"},
    {10517, "Sperrzeit gleicher Code ohne Quittung"},
    {10518, "Sperrzeit gleicher Code mit Quittung"},
    {10519, "Quittierung"},
    {10520, "(Sek)"},
    {10521, "Frequenzband für Alarmempfang"},
    {10522, "Frequenzband für Alarmübertragung"},
    {10523, "Trägerempfindlichkeit Schwellwert"},
    {10524, "Übertrage erst wenn Frequenz frei"},
    {10525, "Gerätetyp"},
    {10526, "Empfangsprotokoll"},
    {10527, "Sendeprotokoll"},
    {10531, "Produktname"},
    {10532, "Firmware version"},
    {10533, "Produktionsdatum"},
    {10534, "Funkkalibrierung"},
    {10535, "Funk-ID Code"},
    {10536, "Seriennummer"},
    {10537, "Frequenzband"},
    {10601, "Aktivieren Sie den Funksender für Position"},
    {10602, "Das angeschlossene Gerät ist nicht identisch mit dem ausgewählten Gerät. \nBitte gehen Sie zum "
            "Hauptmenü zurück, und wählen das korrekte Gerät aus. \nAbbruch Schreibvorgang."},
    {10603, "Angeschlossenes Gerät kann nicht erkannt werden."},
    {10604, "Kann gewählte Konfiguration nicht laden"},
    {10605, "Kann Konfiguration nicht speichern"},
    {10606, "Default.....bin Datei konnte in Anwednungsverzeichnis nicht gefunden werden"},
    {10607, "Möchten Sie die Konfiguration vor dem Verlassen speichern?"},
    {10608, "Fehler beim Lesen aus dem Gerät"},
    {10609, "Fehler beim Schreiben in das Gerät"},
    {10610, "Datei ist schreibgeschützt, speichern nicht möglich"},
    {10611, "Konfigurationsdatei existiert bereits. Wollen Sie diese überschreiben?"},
    {10612, "BORA Konfigurationsdatei"},
    {10613, "ZAL Konfigurationsdatei"},
    {10614, "DORF Konfigurationsdatei"},
    {10615, "Keine Verbindung zum Gerät. Bitte prüfen Sie, ob das Gerät eingeschlatet ist \nund ob das Kabel "
            "im Anschluss 'DC' vom Gerät eingesteckt ist."},
    {10616, "Hinweis: Das Fenster schließt sich automatisch nach dem Einlesen des Funksender Codes."},
    {10617,
     "Kann KBX nicht finden. Bitte prüfen ob Steckernetzteil und USB Kabel richtig angeschlossen sind"},
    {10618, "Öffnen"},
    {10619, "Programmierung fertig. Bitte schalten Sie das Gerät aus und wieder ein, damit alle Änderungen "
            "wirksam werden."},
    {10620, "Lesen vollständig"},
    {10621, "Lese aus Gerät..."},
    {10622, "MUVE Konfigurationsdatei"},
    {10623, "MUVE+ Konfigurationsdatei"},
    {10624, "Speichern als"},
    {10625, "Ausgewähltes Produkt wurde geändert um das angeschlossene Gerät darzustellen"},
    {10626, "Das angeschlossene Gerät ist kein BORA, ZAL, MUVE, MUVE+ oder DORF.\n\nMöchten Sie die "
            "Konfiguration speichern, um diese durch VESK überprüfen zu lassen?"},
    {10627, "Das angeschlossene Gerät ist kein BORA, ZAL, MUVE, MUVE+ oder DORF.\n\nBitte nehmen Sie mit dem "
            "Service von VESK Kontakt auf."},
    {10628, "Die ausgewählte Datei passt nicht zu BORA, ZAL, MUVE, MUVE+ oder DORF!\n\nBitte nehmen Sie mit "
            "dem Service von VESK Kontakt auf."},
    {10629, "Unbekannte Versionsnummer. (0x%s%s)\n\nMöchten Sie die Konfiguration speichern, um diese durch "
            "VESK überprüfen zu lassen?"},
    {10630, "Unbekannte Versionsnummer. (0x%s%s)\n\nBitte nehmen Sie mit dem Service von VESK Kontakt auf."},
    {10631, "Unbekannte Versionsnummer. (0x%s%s)\n\nBitte nehmen Sie mit dem Service von VESK Kontakt auf."},
    {10632, "Vergleiche Gerät..."},
    {10633, "Fehler bei Überprüfung"},
    {10634, "Warte auf Auslösung Sender"},
    {10635, "Schreiben und Überprüfung vollständig"},
    {10636, "Schreibe zu Gerät..."},
    {10637, "Abbruch"},
    {10638, "Beenden"},
    {10639, "gleiche"},
    {10640, "Transparent"},
    {10641, "Angeschlossenes Gerät ist nicht kompatibel. Lesen Sie die Einstellungen aus dem Gerät aus um "
            "diese dann zu ändern oder die Firmware der Gerätes muss erneuert werden."},
    {10642, "Standard Datei ist fehlerhaft. Bitte nehmen Sie mit dem Service von VESK Kontakt auf. (Der Wert "
            "%s an der Adresse %s ist nicht korrekt)"},
    {10643, "Ausgewählte Datei ist fehlerhaft. Bitte nehmen Sie mit dem Service von VESK Kontakt auf. (Der "
            "Wert %s an der Adresse %s ist nicht korrekt)"},
    {10644, "Konfiguration im Gerät ist fehlerhaft oder nicht kompatibel mit der Programmversion.\nBitte "
            "versuchen Sie im Menü Datei->Neu und dann Kommunikation-Schreibe in Gerät.\nWird der Fehler "
            "weiterhin gemeldet, so nehmen Sie bitte mit dem Service von VESK Kontakt auf.\n(Der Wert %s an "
            "der Adresse %s ist nicht korrekt)"},
    {10645, "Fehler beim Konvertieren von Daten"},
    {10646, "Angeschlossenes Gerät ist kein %s, bitte lesen Sie die Daten erst aus dem angeschlossenen Gerät "
            "aus, bevor Sie die Funk ID-Codes ändern."},
    {10647, "Das angeschlossene Gerät wird nicht unterstützt. Bitte machen Sie ein Update auf die neuste "
            "Version des ZAL Programmers."},
    {10648, "Die ausgewählte Datei wird nicht unterstützt. Bitte machen Sie ein Update auf die neuste "
            "Version des ZAL Programmers."},
    {10649, "Das angeschlossene Gerät ist kein BORA, ZAL, MUVE, MUVE+ oder DORF."},
    {10650, "Die Konfiguration des angeschlossenen Gerätes wurde in einer Datei gespeichert."},
    {10651,
     "Das angeschlossene Gerät MUVE+ unterstützt die ausgewählte Alternative zum Quittieren des Funkempfangs "
     "nicht.\n\rBitte rüsten Sie die aktuelle Firmware des MUVE+ auf, oder wählen Sie ‚Empfang quittieren' "
     "oder ‚Empfang nicht quittieren' unter den Einstellungen im Bereich Funk im Fenster ‚Weitere'."},
    {10652, "Positionsalarme werden erst ab Version 22.8 unterstützt"},
    {10653, "MUVE+ II Konfigurationsdatei"},
    {10661, "Die ausgewählte Datei ist nicht kompatibel. Möchten Sie den Dateityp %s mit %s überschreiben?"},
    {10662,
     "Die ausgewählte Datei ist nicht kompatibel. Möchten Sie den Dateiversion %s with %s überschreiben?"},
    {10663, "Das angeschlossene Gerät wurde erfolgreich mit neuen Funk ID-Codes beschrieben."},
    {10664, "Datei %s, wurde im Anwendungsverzeichnis nicht gefunden."},
    {10665, "Bitte zuerst die Gerätefirmware auf v1.x erneuern (mit Brennix). Haben Sie die Gerätefirmware "
            "erneuert?"},
    {10666, "Byte für Version wurde im Gerätespeicher geändert. Jetzt bitte Datei-Neu version-V1.x, und dann "
            "Kommunikation-Schreibe in Gerät."},
    {10667, "Angeschlossenes Gerät wurde auf ‚%s’ Version %s upgedatet. Bitte schalten Sie das Gerät aus und "
            "wieder ein, damit alle Änderungen wirksam werden."},
    {10668, "Möchten Sie wirklich ,Default %s' zu angeschlossene Gerät schreiben?"},
    {10669, "Die ausgelesene Konfiguration ist defekt oder inkompatibel zu der im Gerät befindlichen "
            "Firmware.\nBitte überprüfen Sie alle Parameter und schreiben Sie diese zurück in das "
            "Gerät.\nWenn die Probleme weiterhin bestehen, nehmen Sie Kontakt mit VESK auf."},
    {10671, "ID code hat immer 4 Stellen"},
    {10672, "Schwellwert für Eingang 4 muss einen Wert zwischen 0 und 3 haben"},
    {10673, "Schwellwert für Eingang 5 muss einen Wert zwischen 0 und 3 haben"},
    {10675, "Testintervall muss einen Wert zwischen 0 und %s haben"},
    {10676, "Legen Sie die ,Batterie Ladedauer' fest. Wert muss zwischen 0 und 255 liegen."},
    {10677, "Der Wert für die ,Einschaltverzögerung' muss zwischen 0 und 255 liegen."},
    {10678, "Der Wert für die ,Auslöseverzögerung' muss zwischen 0 und 255 liegen."},
    {10679, "Der Wert für die ,Ausgangsaktivierungsdauer' muss zwischen 0 und %s liegen."},
    {10680, "Anzahl der kurzen Übertragungen muss einen Wert zwischen 0 und 255 haben"},
    {10681, "Anzahl der langen Übertragungen muss einen Wert zwischen 0 und 255 haben"},
    {10682, "Eingetragener Wert für ,Verzögerung' muss zwischen 0 und %s liegen."},
    {10683, "Eingetragener Wert für ,Maximale Wiederholungen' muss zwischen 1 und 15 liegen."},
    {10684, "Eingetragener Wert für ,Sperrzeit gleicher Code ohne Quittung' muss zwischen 0 und 255 liegen."},
    {10685,
     "Eingetragener Wert für ,Sperrzeit gleicher Code ohne Quittung' muss zwischen 0 und 3600 liegen."},
    {10686, "Eingetragener Wert für ,Sperrzeit gleicher Code mit Quittung' muss zwischen 0 und 3600 liegen."},
    {10687, "Ungültiger Funk-ID Code.\nVerwenden Sie nicht den Wert 0000 oder FFFF"},
    {10688, "Ungültiger Funk-ID Code.\nVerwenden Sie nicht den Wert 0000 oder zwischen FFF6...FFFF"},
    {10689, "Der eingetragene Wert für 'Batteriealarm Intervall' muss zwischen 0 und %s liegen."},
    {10690, "Der eingetragene Wert für 'Batterie schwach Schwellwert' muss zwischen 0 und 6.0 liegen."},
    {10691, "Der eingetragene Wert für 'Trägerempfindlichkeit Schwellwert' muss zwischen 0 und 31 liegen."},
    {10692, "Der eingegebene Wert für 'Relais sperren nach Personal' muss zwischen 0 und 25 liegen."},
    {10693, "Gerätetyp Wertebereich von 0 bis 255."},
    {10694, "Eingetragener Wert für ,Alarm Rückstellzeit' muss zwischen 0 und 6553 liegen."},
    {10695,
     "Der eingetragene Wert für 'Trägerempfindlichkeit Schwellwert' muss zwischen -128 und 127 liegen."},
    {10701, "Über ZAL family programmer"},
    {10702, "ZAL family programmer"},
    {10703, "ZAL family programmer"},
    {10704, "(Default)"},
    {10705, "KBX info: %s"},
    {10706, "(aus Gerät ausgelesen)"},
    {10711, "Aus"},
    {10712, "Sende unverändert"},
    {10713, "Verwende Jumper"},
    {10714, "Schliesser Kontakt"},
    {10715, "Nein"},
    {10716, "Normal"},
    {10717, "Nein/Funktion aus"},
    {10718, "Ja"},
    {10731, "Sende 1. feste"},
    {10732, "Sende 2. feste"},
    {10733, "Sende 3. feste"},
    {10734, "Sende 4. feste"},
    {10735, "Sende 5. feste"},
    {10741, "Minuten"},
    {10742, "Stunden"},
    {10761, "Empfang quittieren"},
    {10762, "Empfang nicht quittieren"},
    {10763, "Quittung nur an Sender"},
    {10764, "Quittung nur an Repeater"},
    {10801, "Ändere feste Funk-ID Codes"},
    {10802, "1. feste"},
    {10803, "2. feste"},
    {10804, "3. feste"},
    {10805, "4. feste"},
    {10806, "5. feste"},
    {10807, "6. feste"},
    {10808, "7. feste"},
    {10809, "8. feste"},
    {10810, "Feste Eing."},
    {10811, "Alter Funk-ID Code"},
    {10812, "Neuer Funk-ID Code"},
    {10813, "Abbruch"},
    {10814, "Schreibe in Gerät"},
    {19999, "\\VESK\\ZAL Programmer (DE)\\"},
};

const Entry* Find(int id) {
    auto it = std::lower_bound(std::begin(kEntries), std::end(kEntries), id,
                               [](const Entry& e, int key) { return e.id < key; });
    return (it != std::end(kEntries) && it->id == id) ? it : nullptr;
}

} // namespace

QString Str(int id) {
    const Entry* e = Find(id);
    return e ? QString::fromUtf8(e->text) : QString();
}

bool HasStr(int id) {
    return Find(id) != nullptr;
}

QString FormatText(const QString& format, const QStringList& args) {
    QString out;
    out.reserve(format.size() + 16);
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] == u'%' && i + 1 < format.size()) {
            if (format[i + 1] == u's' && next < args.size()) {
                out += args[next++];
                ++i;
                continue;
            }
            if (format[i + 1] == u'%') {
                out += u'%';
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

QString StrF(int id, const QStringList& args) {
    return FormatText(Str(id), args);
}

} // namespace zal
