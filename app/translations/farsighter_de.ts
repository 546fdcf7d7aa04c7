<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>About Farsighter</source>
        <translation>Über Farsighter</translation>
    </message>
    <message>
        <source>Settings: %1</source>
        <translation>Einstellungen: %1</translation>
    </message>
    <message>
        <source>Favorites: %1</source>
        <translation>Favoriten: %1</translation>
    </message>
    <message>
        <source>Licence: GPL-3.0-or-later</source>
        <translation>Lizenz: GPL-3.0-or-later</translation>
    </message>
    <message>
        <source>Farsighter comes with no warranty, to the extent permitted by law.</source>
        <translation>Farsighter wird ohne jede Gewährleistung geliefert, soweit das Gesetz es zulässt.</translation>
    </message>
</context>
<context>
    <name>CComboTableDrop</name>
    <message>
        <source>Drop-down list</source>
        <translation>Auswahlliste</translation>
    </message>
</context>
<context>
    <name>CCountryOption</name>
    <message>
        <source>The country database %1 cannot be used (%2); the system&apos;s is used instead.</source>
        <translation>Die Länderdatenbank %1 kann nicht verwendet werden (%2); die des Systems wird verwendet.</translation>
    </message>
</context>
<context>
    <name>CDBusNotifier</name>
    <message>
        <source>Show server</source>
        <translation>Server zeigen</translation>
    </message>
</context>
<context>
    <name>CFavoritesDlg</name>
    <message>
        <source>Favorites ...</source>
        <translation>Favoriten ...</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Ip</source>
        <translation>IP</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>The favorites file %1 holds more than %2 favorites; only the first %2 are shown, and the file cannot be changed here.</source>
        <translation>Die Favoritendatei %1 enthält mehr als %2 Favoriten; nur die ersten %2 werden angezeigt, und die Datei kann hier nicht geändert werden.</translation>
    </message>
    <message>
        <source>Cannot read the favorites file %1: %2
The file is left as it is and cannot be changed here.</source>
        <translation>Die Favoritendatei %1 kann nicht gelesen werden: %2
Die Datei bleibt unverändert und kann hier nicht bearbeitet werden.</translation>
    </message>
    <message>
        <source>New Server</source>
        <translation>Neuer Server</translation>
    </message>
    <message>
        <source>Invalid IP address.</source>
        <translation>Ungültige IP-Adresse.</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>CFavoritesFile</name>
    <message>
        <source>it holds more than %1 favorites</source>
        <translation>sie enthält mehr als %1 Favoriten</translation>
    </message>
    <message>
        <source>it holds %1 favorites already</source>
        <translation>sie enthält bereits %1 Favoriten</translation>
    </message>
    <message>
        <source>Cannot read the favorites file %1: %2</source>
        <translation>Die Favoritendatei %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>The favorites file &apos;%1&apos; has %2 line that is not a server address (line %3); skipped.</source>
        <translation>Die Favoritendatei &apos;%1&apos; hat %2 Zeile, die keine Serveradresse ist (Zeile %3); sie wurde übersprungen.</translation>
    </message>
    <message>
        <source>The favorites file &apos;%1&apos; has %2 lines that are not a server address (line %3); skipped.</source>
        <translation>Die Favoritendatei &apos;%1&apos; hat %2 Zeilen, die keine Serveradresse sind (Zeile %3); sie wurden übersprungen.</translation>
    </message>
    <message>
        <source>The favorites file &apos;%1&apos; has more than %2 favorites; only the first %2 are scanned.</source>
        <translation>Die Favoritendatei &apos;%1&apos; enthält mehr als %2 Favoriten; nur die ersten %2 werden abgefragt.</translation>
    </message>
</context>
<context>
    <name>CFriendWatch</name>
    <message>
        <source>Edit the list of friends</source>
        <translation>Die Liste der Freunde bearbeiten</translation>
    </message>
    <message>
        <source>Cannot read the friends file %1: %2</source>
        <translation>Die Freundesdatei %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Cannot write the friends file %1: %2</source>
        <translation>Die Freundesdatei %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Friends: %1</source>
        <translation>Freunde: %1</translation>
    </message>
    <message>
        <source>%1 is playing</source>
        <translation>%1 spielt</translation>
    </message>
    <message>
        <source>%1 friends are playing</source>
        <translation>%1 Freunde spielen</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>und %1 weitere</translation>
    </message>
    <message>
        <source>%1 on %2</source>
        <translation>%1 auf %2</translation>
    </message>
    <message>
        <source>The server %1 is no longer in the list.</source>
        <translation>Der Server %1 ist nicht mehr in der Liste.</translation>
    </message>
</context>
<context>
    <name>CFriendsDlg</name>
    <message>
        <source>Friends</source>
        <translation>Freunde</translation>
    </message>
    <message>
        <source>The friends file cannot be read: %1</source>
        <translation>Die Freundesdatei kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>A player&apos;s name, or a pattern with * for any characters:</source>
        <translation>Der Name eines Spielers oder ein Muster mit * für beliebige Zeichen:</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>CFriendsFile</name>
    <message>
        <source>it is not a text file</source>
        <translation>sie ist keine Textdatei</translation>
    </message>
    <message>
        <source>line %1 is longer than %2 bytes</source>
        <translation>Zeile %1 ist länger als %2 Bytes</translation>
    </message>
    <message>
        <source>it holds more than %1 friends</source>
        <translation>sie enthält mehr als %1 Freunde</translation>
    </message>
</context>
<context>
    <name>CFilterBar</name>
    <message>
        <source>Filter by server, map or mod</source>
        <translation>Nach Server, Karte oder Mod filtern</translation>
    </message>
    <message>
        <source>PB: any</source>
        <translation>PB: egal</translation>
    </message>
    <message>
        <source>PB on</source>
        <translation>PB an</translation>
    </message>
    <message>
        <source>PB off</source>
        <translation>PB aus</translation>
    </message>
    <message>
        <source>Any type</source>
        <translation>Jeder Typ</translation>
    </message>
    <message>
        <source>Any mod</source>
        <translation>Jeder Mod</translation>
    </message>
    <message>
        <source>any</source>
        <translation>egal</translation>
    </message>
</context>
<context>
    <name>CGameLauncher</name>
    <message>
        <source>%1 is a Windows program. Install wine to start it here, or choose the game&apos;s native executable.</source>
        <translation>%1 ist ein Windows-Programm. Installieren Sie Wine, um es hier zu starten, oder wählen Sie das native Programm des Spiels.</translation>
    </message>
</context>
<context>
    <name>CHyperLink</name>
    <message>
        <source>Can&apos;t open link:

</source>
        <translation>Der Link kann nicht geöffnet werden:

</translation>
    </message>
    <message>
        <source>The operating system is out
of memory or resources.</source>
        <translation>Dem Betriebssystem fehlt
Speicher oder Ressourcen.</translation>
    </message>
    <message>
        <source>The specified file was not found.</source>
        <translation>Die angegebene Datei wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The specified path was not found.</source>
        <translation>Der angegebene Pfad wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The operating system denied
access to the specified file.</source>
        <translation>Das Betriebssystem hat den Zugriff
auf die angegebene Datei verweigert.</translation>
    </message>
    <message>
        <source>There was not enough memory to complete the operation.</source>
        <translation>Für diesen Vorgang ist nicht genügend Speicher vorhanden.</translation>
    </message>
    <message>
        <source>The .EXE file is invalid
(non-Win32 .EXE or error in .EXE image).</source>
        <translation>Die .EXE-Datei ist ungültig
(keine Win32-.EXE oder Fehler im .EXE-Abbild).</translation>
    </message>
    <message>
        <source>A sharing violation occurred. </source>
        <translation>Eine Freigabeverletzung ist aufgetreten. </translation>
    </message>
    <message>
        <source>The filename association is
incomplete or invalid.</source>
        <translation>Die Dateizuordnung ist
unvollständig oder ungültig.</translation>
    </message>
    <message>
        <source>The DDE transaction could not
be completed because the request timed out.</source>
        <translation>Die DDE-Transaktion konnte nicht
abgeschlossen werden, weil die Anforderung zu lange dauerte.</translation>
    </message>
    <message>
        <source>The DDE transaction failed.</source>
        <translation>Die DDE-Transaktion ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>The DDE transaction could not
be completed because other DDE transactions
were being processed.</source>
        <translation>Die DDE-Transaktion konnte nicht
abgeschlossen werden, weil andere DDE-Transaktionen
gerade verarbeitet wurden.</translation>
    </message>
    <message>
        <source>There is no application associated
with the given filename extension.</source>
        <translation>Der angegebenen Dateinamenerweiterung
ist keine Anwendung zugeordnet.</translation>
    </message>
    <message>
        <source>The specified dynamic-link library was not found.</source>
        <translation>Die angegebene DLL wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Unknown Error (%1) occurred.</source>
        <translation>Unbekannter Fehler (%1) aufgetreten.</translation>
    </message>
</context>
<context>
    <name>CJoinFlow</name>
    <message>
        <source>Where is the game? Pick its program: WolfMP.exe, or the native wolfmp.x86 on Linux</source>
        <translation>Wo ist das Spiel? Wählen Sie sein Programm: WolfMP.exe oder unter Linux das native wolfmp.x86</translation>
    </message>
    <message>
        <source>password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Game programs (wolfmp* iowolfmp* *.x86*)</source>
        <translation>Spielprogramme (wolfmp* iowolfmp* *.x86*)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Cannot save the recent servers to %1: %2</source>
        <translation>Die zuletzt besuchten Server können nicht in %1 gespeichert werden: %2</translation>
    </message>
</context>
<context>
    <name>CMainDlgLayout</name>
    <message>
        <source>Player list</source>
        <translation>Spielerliste</translation>
    </message>
    <message>
        <source>Server list</source>
        <translation>Serverliste</translation>
    </message>
</context>
<context>
    <name>CMasterServerDlg</name>
    <message>
        <source>Address of the master server, for example
wolfmaster.idsoftware.com:27950</source>
        <translation>Adresse des Master-Servers, zum Beispiel
wolfmaster.idsoftware.com:27950</translation>
    </message>
    <message>
        <source>Master Server ...</source>
        <translation>Master-Server ...</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no master server address that can be found. Check the name and the port.</source>
        <translation>„%1“ ist keine auffindbare Master-Server-Adresse. Prüfen Sie Namen und Port.</translation>
    </message>
</context>
<context>
    <name>CNumberEdit</name>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
</context>
<context>
    <name>COptionsDlg</name>
    <message>
        <source>Options ...</source>
        <translation>Optionen ...</translation>
    </message>
    <message>
        <source>Close after joining</source>
        <translation>Nach dem Beitreten schließen</translation>
    </message>
    <message>
        <source>Requery server data in background </source>
        <translation>Serverdaten im Hintergrund neu abfragen </translation>
    </message>
    <message>
        <source>To reduce lag, it is strongly recommended to also check the &apos;Close after joining&apos; option when checking this option!</source>
        <translation>Um Verzögerungen zu vermeiden, wird dringend empfohlen, mit dieser Option auch &apos;Nach dem Beitreten schließen&apos; einzuschalten!</translation>
    </message>
    <message>
        <source>Start up query</source>
        <translation>Abfrage beim Start</translation>
    </message>
    <message>
        <source>nothing</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>favorites</source>
        <translation>Favoriten</translation>
    </message>
    <message>
        <source>master</source>
        <translation>Master-Server</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Country database (MaxMind DB):</source>
        <translation>Länderdatenbank (MaxMind DB):</translation>
    </message>
    <message>
        <source>the system&apos;s</source>
        <translation>die des Systems</translation>
    </message>
    <message>
        <source>Country database</source>
        <translation>Länderdatenbank</translation>
    </message>
    <message>
        <source>MaxMind DB (*.mmdb)</source>
        <translation>MaxMind DB (*.mmdb)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>CPasswordReveal</name>
    <message>
        <source>Show password</source>
        <translation>Passwort anzeigen</translation>
    </message>
</context>
<context>
    <name>CPlayerRowMenu</name>
    <message>
        <source>Add to friends</source>
        <translation>Zu den Freunden hinzufügen</translation>
    </message>
    <message>
        <source>Remove from friends</source>
        <translation>Aus den Freunden entfernen</translation>
    </message>
</context>
<context>
    <name>CRecentServers</name>
    <message>
        <source>Cannot read the recent servers file %1: %2</source>
        <translation>Die Datei der zuletzt besuchten Server %1 kann nicht gelesen werden: %2</translation>
    </message>
</context>
<context>
    <name>CRefreshCommands</name>
    <message>
        <source>Refresh	F5</source>
        <translation>Aktualisieren	F5</translation>
    </message>
    <message>
        <source>Refresh all	Shift+F5</source>
        <translation>Alle aktualisieren	Umschalt+F5</translation>
    </message>
</context>
<context>
    <name>CResultLists</name>
    <message>
        <source>0?
1?
2?
3?
4?
MP - Objective
SW - Stopwatch
CP - Checkpoint
8?
9?
</source>
        <translation>0?
1?
2?
3?
4?
MP - Missionsziel
SW - Stoppuhr
CP - Checkpoint
8?
9?
</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>ja</translation>
    </message>
    <message>
        <source>no</source>
        <translation>nein</translation>
    </message>
    <message>
        <source>Player</source>
        <translation>Spieler</translation>
    </message>
    <message>
        <source>Frags</source>
        <translation>Frags</translation>
    </message>
    <message>
        <source>Ping</source>
        <translation>Ping</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Karte</translation>
    </message>
    <message>
        <source>ServerPing</source>
        <translation>ServerPing</translation>
    </message>
    <message>
        <source>Players</source>
        <translation>Belegung</translation>
    </message>
    <message>
        <source>Mod</source>
        <translation>Mod</translation>
    </message>
    <message>
        <source>FF
Friendly Fire</source>
        <translation>FF
Eigenbeschuss</translation>
    </message>
    <message>
        <source>PB
Punkbuster</source>
        <translation>PB
Punkbuster</translation>
    </message>
    <message>
        <source>MaxLives</source>
        <translation>MaxLeben</translation>
    </message>
    <message>
        <source>Ip</source>
        <translation>IP</translation>
    </message>
    <message>
        <source>NumPlayers</source>
        <translation>AnzSpieler</translation>
    </message>
    <message>
        <source>MaxPlayers</source>
        <translation>MaxSpieler</translation>
    </message>
    <message>
        <source>Password required</source>
        <translation>Passwort erforderlich</translation>
    </message>
    <message>
        <source>Pwd
Password required</source>
        <translation>Pwd
Passwort erforderlich</translation>
    </message>
    <message>
        <source>Country</source>
        <translation>Land</translation>
    </message>
</context>
<context>
    <name>CScanBridge</name>
    <message>
        <source>No response from master server.</source>
        <translation>Keine Antwort vom Master-Server.</translation>
    </message>
    <message>
        <source>Unhandled Unknown Exception!</source>
        <translation>Unbehandelte unbekannte Ausnahme!</translation>
    </message>
    <message>
        <source>Cannot find the master server %1.</source>
        <translation>Der Master-Server %1 wurde nicht gefunden.</translation>
    </message>
</context>
<context>
    <name>CScanFlow</name>
    <message>
        <source>No server has been joined yet.</source>
        <translation>Noch keinem Server beigetreten.</translation>
    </message>
    <message>
        <source>Querying the %1 servers of the last query again.</source>
        <translation>Die %1 Server der letzten Abfrage werden erneut abgefragt.</translation>
    </message>
</context>
<context>
    <name>CScanStatus</name>
    <message>
        <source>The settings in %1 are read-only: they are used, but changes cannot be saved.</source>
        <translation>Die Einstellungen in %1 sind schreibgeschützt: Sie werden verwendet, aber Änderungen können nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Cannot save the settings to %1: %2</source>
        <translation>Die Einstellungen können nicht in %1 gespeichert werden: %2</translation>
    </message>
    <message>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
</context>
<context>
    <name>CSearchPanel</name>
    <message>
        <source>Are you sure to delete &apos;%1&apos;?</source>
        <translation>Möchten Sie &apos;%1&apos; wirklich löschen?</translation>
    </message>
</context>
<context>
    <name>CServerInfoDlg</name>
    <message>
        <source>Variable</source>
        <translation>Variable</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
</context>
<context>
    <name>CServerRefresh</name>
    <message>
        <source>A scan is running: refresh once it has ended.</source>
        <translation>Eine Abfrage läuft: Aktualisieren Sie, wenn sie beendet ist.</translation>
    </message>
    <message>
        <source>%1 was asked less than 10 seconds ago; it is not asked again yet.</source>
        <translation>%1 wurde vor weniger als 10 Sekunden abgefragt; er wird noch nicht erneut abgefragt.</translation>
    </message>
    <message>
        <source>Refreshing %1 …</source>
        <translation>%1 wird aktualisiert …</translation>
    </message>
    <message>
        <source>Refreshing %1 servers …</source>
        <translation>%1 Server werden aktualisiert …</translation>
    </message>
    <message>
        <source>Refreshed %1.</source>
        <translation>%1 aktualisiert.</translation>
    </message>
    <message>
        <source>Refreshed %1 servers.</source>
        <translation>%1 Server aktualisiert.</translation>
    </message>
    <message>
        <source>%1 did not answer; its row shows what it said before.</source>
        <translation>%1 hat nicht geantwortet; seine Zeile zeigt die vorige Antwort.</translation>
    </message>
    <message>
        <source>%1 of %2 servers did not answer (%3); their rows show what they said before.</source>
        <translation>%1 von %2 Servern haben nicht geantwortet (%3); ihre Zeilen zeigen die vorigen Antworten.</translation>
    </message>
</context>
<context>
    <name>CServerRowMenu</name>
    <message>
        <source>Add to favorites;-;Show server info;-</source>
        <translation>Zu Favoriten hinzufügen;-;Serverinfo anzeigen;-</translation>
    </message>
    <message>
        <source>~Add to favorites;-;~Show server info;-</source>
        <translation>~Zu Favoriten hinzufügen;-;~Serverinfo anzeigen;-</translation>
    </message>
    <message>
        <source>The server %1 is no longer in the list.</source>
        <translation>Der Server %1 ist nicht mehr in der Liste.</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>CSettingsKey</name>
    <message>
        <source>%1 is read-only</source>
        <translation>%1 ist schreibgeschützt</translation>
    </message>
</context>
<context>
    <name>CStatusLine</name>
    <message>
        <source>Asking %1 for the servers of %2 …</source>
        <translation>Frage %1 nach den Servern von %2 …</translation>
    </message>
    <message>
        <source>The master server %1 lists no servers of %2.</source>
        <translation>Der Master-Server %1 kennt keine Server von %2.</translation>
    </message>
    <message>
        <source>The master server %1 lists 1 server of %2.</source>
        <translation>Der Master-Server %1 kennt 1 Server von %2.</translation>
    </message>
    <message>
        <source>The master server %1 lists %2 servers of %3.</source>
        <translation>Der Master-Server %1 kennt %2 Server von %3.</translation>
    </message>
    <message>
        <source>The master server %1 did not answer.</source>
        <translation>Der Master-Server %1 hat nicht geantwortet.</translation>
    </message>
    <message>
        <source>No player found for &quot;%1&quot;.</source>
        <translation>Kein Spieler für „%1“ gefunden.</translation>
    </message>
    <message>
        <source>%1 is a favorite already.</source>
        <translation>%1 ist schon ein Favorit.</translation>
    </message>
    <message>
        <source>%1 added to the favorites.</source>
        <translation>%1 wurde zu den Favoriten hinzugefügt.</translation>
    </message>
    <message>
        <source>Scan stopped: %1 of 1 server queried.</source>
        <translation>Abfrage angehalten: %1 von 1 Server abgefragt.</translation>
    </message>
    <message>
        <source>Scan stopped: %1 of %2 servers queried.</source>
        <translation>Abfrage angehalten: %1 von %2 Servern abgefragt.</translation>
    </message>
</context>
<context>
    <name>CTableClipboard</name>
    <message>
        <source>Html Dateien (*.html)</source>
        <translation>Html Dateien (*.html)</translation>
    </message>
    <message>
        <source>Alle Dateien (*.*)</source>
        <translation>Alle Dateien (*.*)</translation>
    </message>
</context>
<context>
    <name>CTableMenus</name>
    <message>
        <source>~(none)</source>
        <translation>~(keine)</translation>
    </message>
    <message>
        <source>&amp;All columns;-</source>
        <translation>&amp;Alle Spalten;-</translation>
    </message>
    <message>
        <source>~Todo: Implementieren</source>
        <translation>~Todo: Implementieren</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Ausblenden</translation>
    </message>
    <message>
        <source>Copy cell;Copy;Copy all;Select all;-;Show column;Hide column;Restore default;-;Save as ...;</source>
        <translation>Zelle kopieren;Kopieren;Alles kopieren;Alles auswählen;-;Spalte einblenden;Spalte ausblenden;Standard wiederherstellen;-;Speichern unter ...;</translation>
    </message>
    <message>
        <source>Ascending;Descending;No sort;-;Hide</source>
        <translation>Aufsteigend;Absteigend;Nicht sortieren;-;Ausblenden</translation>
    </message>
</context>
<context>
    <name>CTableScroller</name>
    <message>
        <source>%1 von %2</source>
        <translation>%1 von %2</translation>
    </message>
</context>
<context>
    <name>Dialog</name>
    <message>
        <source>Show passwords</source>
        <translation>Passwörter anzeigen</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>a server browser by</source>
        <translation>ein Serverbrowser von</translation>
    </message>
    <message>
        <source>the Farsighter team</source>
        <translation>dem Farsighter-Team</translation>
    </message>
    <message>
        <source>Query Server Options</source>
        <translation>Abfrageoptionen</translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>Speed:</source>
        <translation>Tempo:</translation>
    </message>
    <message>
        <source>Include empty servers</source>
        <translation>Leere Server einbeziehen</translation>
    </message>
    <message>
        <source>Include full servers</source>
        <translation>Volle Server einbeziehen</translation>
    </message>
    <message>
        <source>Query Master</source>
        <translation>Master abfragen</translation>
    </message>
    <message>
        <source>Query Favorites</source>
        <translation>Favoriten abfragen</translation>
    </message>
    <message>
        <source>Search for player</source>
        <translation>Spieler suchen</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Del</source>
        <translation>Entf</translation>
    </message>
    <message>
        <source>Pwd:</source>
        <translation>Pwd:</translation>
    </message>
    <message>
        <source>Join</source>
        <translation>Beitreten</translation>
    </message>
    <message>
        <source>Options ...</source>
        <translation>Optionen ...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Servers:</source>
        <translation>Server:</translation>
    </message>
    <message>
        <source>Players:</source>
        <translation>Spieler:</translation>
    </message>
    <message>
        <source>Servers to Query:</source>
        <translation>Noch abzufragen:</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Query Recent</source>
        <translation>Letzte abfragen</translation>
    </message>
    <message>
        <source>Hide empty</source>
        <translation>Ohne leere</translation>
    </message>
    <message>
        <source>Hide full</source>
        <translation>Ohne volle</translation>
    </message>
    <message>
        <source>Hide passworded</source>
        <translation>Ohne Passwort</translation>
    </message>
    <message>
        <source>Max ping:</source>
        <translation>Max. Ping:</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Löschen</translation>
    </message>
</context>
<context>
    <name>JoinCommand</name>
    <message>
        <source>Ambiguous passwords! Use the favorite one (%1)?</source>
        <translation>Die Passwörter sind nicht eindeutig! Das Passwort des Favoriten (%1) verwenden?</translation>
    </message>
    <message>
        <source>The %1 holds a double quote, a semicolon, a plus sign or a line break, which the game would read as a further command. Remove it and join again.</source>
        <translation>Das Feld „%1“ enthält ein Anführungszeichen, ein Semikolon, ein Pluszeichen oder einen Zeilenumbruch, die das Spiel als weiteren Befehl lesen würde. Entfernen Sie das Zeichen und treten Sie erneut bei.</translation>
    </message>
</context>
<context>
    <name>WholeFile</name>
    <message>
        <source>it is a link to a file that does not exist</source>
        <translation>sie ist eine Verknüpfung auf eine Datei, die es nicht gibt</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>sie ist keine normale Datei</translation>
    </message>
</context>
</TS>
