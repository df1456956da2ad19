<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>Form1</name>
    <message>
        <source>Are you sure you want to cancel Torvex Setup?</source>
        <translation>Möchten Sie das Torvex-Setup wirklich abbrechen?</translation>
    </message>
    <message>
        <source>Torvex Setup</source>
        <translation>Torvex-Setup</translation>
    </message>
    <message>
        <source>Setup is installing Torvex on your Pocket PC</source>
        <translation>Torvex wird auf Ihrem Pocket PC installiert</translation>
    </message>
    <message>
        <source>Torvex License Agreement</source>
        <translation>Torvex-Lizenzvertrag</translation>
    </message>
    <message>
        <source>Setup has successfully installed Torvex on your Pocket PC.</source>
        <translation>Torvex wurde erfolgreich auf Ihrem Pocket PC installiert.</translation>
    </message>
    <message>
        <source>License agreement</source>
        <translation>Lizenzvertrag</translation>
    </message>
    <message>
        <source>I agree</source>
        <translation>Annehmen</translation>
    </message>
    <message>
        <source>I don not agree</source>
        <translation>Ablehnen</translation>
    </message>
    <message>
        <source>&lt;&lt;  Back</source>
        <translation>&lt;&lt;  Zurück</translation>
    </message>
    <message>
        <source>Next  &gt;&gt;</source>
        <translation>Weiter  &gt;&gt;</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Welcome</source>
        <translation>Willkommen</translation>
    </message>
    <message>
        <source>Torvex on a Pocket PC</source>
        <translation>Torvex auf einem Pocket PC</translation>
    </message>
    <message>
        <source>Setup is preparing to install Torvex on your Pocket PC. To continue press Next.</source>
        <translation>Setup bereitet die Installation von Torvex auf Ihrem Pocket PC vor. Klicken Sie zum Fortfahren auf Weiter.</translation>
    </message>
    <message>
        <source>Pocket PC version</source>
        <translation>Version des Pocket PC</translation>
    </message>
    <message>
        <source>To install the program choose your Microsoft Pocket PC version.</source>
        <translation>Wählen Sie für die Installation Ihre Version von Microsoft Pocket PC.</translation>
    </message>
    <message>
        <source>You can see the version by choosing from the Start Menu &gt; Settings &gt; System &gt; About &gt; Version.</source>
        <translation>Die Version finden Sie im Startmenü unter Einstellungen &gt; System &gt; Info &gt; Version.</translation>
    </message>
    <message>
        <source> If it is 4.0.0 or higher choose  from the option below: </source>
        <translation> Bei Version 4.0.0 oder höher wählen Sie diese Option: </translation>
    </message>
    <message>
        <source>&quot;Microsoft Pocket PC Version 4.0.0 or higher&quot;</source>
        <translation>„Microsoft Pocket PC Version 4.0.0 oder höher“</translation>
    </message>
    <message>
        <source>if it is an earlier version choose:</source>
        <translation>Bei einer früheren Version wählen Sie:</translation>
    </message>
    <message>
        <source>&quot;Earlier Microsoft Pocket PC Version&quot;</source>
        <translation>„Frühere Microsoft-Pocket-PC-Version“</translation>
    </message>
    <message>
        <source>Microsoft Pocket PC Version 4.0.0 or higher.</source>
        <translation>Microsoft Pocket PC Version 4.0.0 oder höher.</translation>
    </message>
    <message>
        <source>Earlier Microsoft Pocket PC Version.</source>
        <translation>Frühere Microsoft-Pocket-PC-Version.</translation>
    </message>
    <message>
        <source>Ready to install</source>
        <translation>Bereit zur Installation</translation>
    </message>
    <message>
        <source>Do not start other operations while running setup. This may cause invalid installation.</source>
        <translation>Starten Sie während des Setups keine anderen Vorgänge, sonst kann die Installation fehlschlagen.</translation>
    </message>
    <message>
        <source>Click Install to begin installation.</source>
        <translation>Klicken Sie zum Starten auf Weiter.</translation>
    </message>
    <message>
        <source>If you want to change or review any of the installation settings press Back.</source>
        <translation>Um Einstellungen zu prüfen oder zu ändern, klicken Sie auf Zurück.</translation>
    </message>
    <message>
        <source>To exit the installation press Cancel.</source>
        <translation>Zum Beenden der Installation klicken Sie auf Abbrechen.</translation>
    </message>
    <message>
        <source>Setup is now inspecting your current Settings. Please wait.</source>
        <translation>Setup prüft jetzt Ihre aktuellen Einstellungen. Bitte warten Sie.</translation>
    </message>
    <message>
        <source>Installation progress</source>
        <translation>Installationsfortschritt</translation>
    </message>
    <message>
        <source>&lt;&lt; Back</source>
        <translation>&lt;&lt; Zurück</translation>
    </message>
    <message>
        <source>Next &gt;&gt;</source>
        <translation>Weiter &gt;&gt;</translation>
    </message>
    <message>
        <source>Setup is already running. Try again when it has finished.</source>
        <translation>Setup läuft bereits. Versuchen Sie es später erneut.</translation>
    </message>
    <message>
        <source>Setup is installing without asking anything. Leave the Pocket PC in its dock until this window has closed. To stop the installation press Cancel.</source>
        <translation>Setup installiert, ohne etwas zu fragen. Lassen Sie den Pocket PC in der Dockingstation, bis sich dieses Fenster geschlossen hat. Zum Abbrechen der Installation klicken Sie auf Abbrechen.</translation>
    </message>
    <message>
        <source>This window closes by itself.</source>
        <translation>Dieses Fenster schließt sich von selbst.</translation>
    </message>
</context>
<context>
    <name>InstallRun</name>
    <message>
        <source>No mobile device connected. Connect the Pocket PC to your host Computer and click Next.</source>
        <translation>Kein mobiles Gerät verbunden. Verbinden Sie den Pocket PC mit Ihrem Computer und klicken Sie auf Weiter.</translation>
    </message>
    <message>
        <source>No Pocket PC version has been chosen, so there is nothing to install. Click Back and choose your Pocket PC version.</source>
        <translation>Es wurde keine Version des Pocket PC gewählt, daher gibt es nichts zu installieren. Klicken Sie auf Zurück und wählen Sie die Version Ihres Pocket PC.</translation>
    </message>
    <message>
        <source>The registry has no path for it under HKEY_LOCAL_MACHINE\%1.</source>
        <translation>Die Registrierung enthält unter HKEY_LOCAL_MACHINE\%1 keinen Pfad dafür.</translation>
    </message>
    <message>
        <source>Setup cannot find the Pocket PC application manager (CEAPPMGR.EXE). %1

Install the desktop synchronisation software or correct its registry entry, then click Next.</source>
        <translation>Setup findet den Anwendungs-Manager für Pocket PC (CEAPPMGR.EXE) nicht. %1

Installieren Sie die Desktop-Synchronisierungssoftware oder korrigieren Sie ihren Registrierungseintrag und klicken Sie dann auf Weiter.</translation>
    </message>
    <message>
        <source>Setup cannot hand the installation files in the folder %1 on to the application manager: the folder&apos;s name has characters that cannot be passed on.

Move the installation files to a folder with a plainer name and start Setup there.</source>
        <translation>Setup kann die Installationsdateien im Ordner %1 nicht an den Anwendungs-Manager übergeben: Der Name des Ordners enthält Zeichen, die sich nicht übergeben lassen.

Verschieben Sie die Installationsdateien in einen Ordner mit einfacherem Namen und starten Sie Setup dort.</translation>
    </message>
    <message>
        <source>(the current folder, which no longer exists or cannot be read)</source>
        <translation>(der aktuelle Ordner, der nicht mehr existiert oder nicht lesbar ist)</translation>
    </message>
    <message numerus="yes">
        <source>Setup cannot find these installation files in the folder %1:
%2

Start Setup from the folder that holds its installation files.</source>
        <translation>
            <numerusform>Setup findet diese Installationsdatei im Ordner %1 nicht:
%2

Starten Sie Setup aus dem Ordner, der seine Installationsdateien enthält.</numerusform>
            <numerusform>Setup findet diese Installationsdateien im Ordner %1 nicht:
%2

Starten Sie Setup aus dem Ordner, der seine Installationsdateien enthält.</numerusform>
        </translation>
    </message>
    <message>
        <source>The application manager did not complete its run for %1:
%2

Check the application manager, then click Next to start again.</source>
        <translation>Der Anwendungs-Manager hat die Verarbeitung von %1 nicht abgeschlossen:
%2

Prüfen Sie den Anwendungs-Manager und klicken Sie dann auf Weiter, um neu zu beginnen.</translation>
    </message>
    <message>
        <source>Setup was stopped before its first run; nothing was installed.</source>
        <translation>Setup wurde vor dem ersten Durchgang beendet; es wurde nichts installiert.</translation>
    </message>
    <message>
        <source>Setup was stopped after run %1 of %2 (%3); the handheld may be partly set up.</source>
        <translation>Setup wurde nach Durchgang %1 von %2 (%3) beendet; der Pocket PC ist möglicherweise nur teilweise eingerichtet.</translation>
    </message>
    <message>
        <source>The registry names &quot;%1&quot;, which is not a full path.</source>
        <translation>In der Registrierung ist „%1“ eingetragen; das ist kein vollständiger Pfad.</translation>
    </message>
    <message>
        <source>The registry names &quot;%1&quot;, which does not exist.</source>
        <translation>In der Registrierung ist „%1“ eingetragen; diese Datei existiert nicht.</translation>
    </message>
    <message>
        <source>The registry names &quot;%1&quot;, which is not a program file.</source>
        <translation>In der Registrierung ist „%1“ eingetragen; das ist keine Programmdatei.</translation>
    </message>
    <message>
        <source>The registry names &quot;%1&quot;, which may not be run (it is not executable).</source>
        <translation>In der Registrierung ist „%1“ eingetragen; diese Datei ist nicht ausführbar.</translation>
    </message>
    <message>
        <source>Setup has been closed; nothing more is installed.</source>
        <translation>Setup wurde geschlossen; es wird nichts weiter installiert.</translation>
    </message>
    <message>
        <source>Setup is already installing; a second install cannot start until the first has ended.</source>
        <translation>Setup installiert bereits; eine zweite Installation kann erst nach dem Ende der ersten beginnen.</translation>
    </message>
</context>
<context>
    <name>InstanceLock</name>
    <message>
        <source>process %1 (%2)</source>
        <translation>Prozess %1 (%2)</translation>
    </message>
</context>
<context>
    <name>KitFolder</name>
    <message>
        <source>The kit folder &quot;%1&quot; does not exist or cannot be entered.</source>
        <translation>Der Ordner „%1“ mit den Installationsdateien existiert nicht oder kann nicht geöffnet werden.</translation>
    </message>
</context>
<context>
    <name>MessageBoxes</name>
    <message>
        <source>Information</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Frage</translation>
    </message>
</context>
<context>
    <name>OutputStream</name>
    <message>
        <source>nothing could be written</source>
        <translation>es konnte nichts geschrieben werden</translation>
    </message>
</context>
<context>
    <name>QGnomeTheme</name>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
</context>
<context>
    <name>QScrollBar</name>
    <message>
        <source>Scroll here</source>
        <translation>Hierher scrollen</translation>
    </message>
    <message>
        <source>Left edge</source>
        <translation>Linker Rand</translation>
    </message>
    <message>
        <source>Top</source>
        <translation>Anfang</translation>
    </message>
    <message>
        <source>Right edge</source>
        <translation>Rechter Rand</translation>
    </message>
    <message>
        <source>Bottom</source>
        <translation>Ende</translation>
    </message>
    <message>
        <source>Page left</source>
        <translation>Eine Seite nach links</translation>
    </message>
    <message>
        <source>Page up</source>
        <translation>Eine Seite nach oben</translation>
    </message>
    <message>
        <source>Page right</source>
        <translation>Eine Seite nach rechts</translation>
    </message>
    <message>
        <source>Page down</source>
        <translation>Eine Seite nach unten</translation>
    </message>
    <message>
        <source>Scroll left</source>
        <translation>Nach links scrollen</translation>
    </message>
    <message>
        <source>Scroll up</source>
        <translation>Nach oben scrollen</translation>
    </message>
    <message>
        <source>Scroll right</source>
        <translation>Nach rechts scrollen</translation>
    </message>
    <message>
        <source>Scroll down</source>
        <translation>Nach unten scrollen</translation>
    </message>
</context>
<context>
    <name>QShortcut</name>
    <message>
        <source>Ctrl</source>
        <translation>Strg</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Umschalt</translation>
    </message>
    <message>
        <source>+</source>
        <translation>+</translation>
    </message>
</context>
<context>
    <name>QUnicodeControlCharacterMenu</name>
    <message>
        <source>Insert Unicode control character</source>
        <translation>Unicode-Steuerzeichen einfügen</translation>
    </message>
    <message>
        <source>LRM Left-to-right mark</source>
        <translation>LRM Links-nach-rechts-Zeichen</translation>
    </message>
    <message>
        <source>RLM Right-to-left mark</source>
        <translation>RLM Rechts-nach-links-Zeichen</translation>
    </message>
    <message>
        <source>ZWJ Zero width joiner</source>
        <translation>ZWJ Breitenloser Verbinder</translation>
    </message>
    <message>
        <source>ZWNJ Zero width non-joiner</source>
        <translation>ZWNJ Breitenloser Nicht-Verbinder</translation>
    </message>
    <message>
        <source>ZWSP Zero width space</source>
        <translation>ZWSP Breitenloses Leerzeichen</translation>
    </message>
    <message>
        <source>LRE Start of left-to-right embedding</source>
        <translation>LRE Beginn einer Links-nach-rechts-Einbettung</translation>
    </message>
    <message>
        <source>RLE Start of right-to-left embedding</source>
        <translation>RLE Beginn einer Rechts-nach-links-Einbettung</translation>
    </message>
    <message>
        <source>LRO Start of left-to-right override</source>
        <translation>LRO Beginn einer Links-nach-rechts-Überschreibung</translation>
    </message>
    <message>
        <source>RLO Start of right-to-left override</source>
        <translation>RLO Beginn einer Rechts-nach-links-Überschreibung</translation>
    </message>
    <message>
        <source>PDF Pop directional formatting</source>
        <translation>PDF Ende der Richtungsformatierung</translation>
    </message>
    <message>
        <source>LRI Left-to-right isolate</source>
        <translation>LRI Links-nach-rechts-Isolierung</translation>
    </message>
    <message>
        <source>RLI Right-to-left isolate</source>
        <translation>RLI Rechts-nach-links-Isolierung</translation>
    </message>
    <message>
        <source>FSI First strong isolate</source>
        <translation>FSI Isolierung nach dem ersten starken Zeichen</translation>
    </message>
    <message>
        <source>PDI Pop directional isolate</source>
        <translation>PDI Ende der Richtungsisolierung</translation>
    </message>
</context>
<context>
    <name>QWidgetTextControl</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>Wieder&amp;herstellen</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>Einf&amp;ügen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alles auswählen</translation>
    </message>
    <message>
        <source>Copy &amp;Link Location</source>
        <translation>&amp;Link-Adresse kopieren</translation>
    </message>
</context>
<context>
    <name>RegFileRegistry</name>
    <message>
        <source>The file &quot;%1&quot;, which stands in for the registry (TORVEX_REGISTRY names it), holds no usable text as the default value of HKEY_LOCAL_MACHINE\%2.</source>
        <translation>Die Datei „%1“, die anstelle der Registrierung gelesen wird (festgelegt durch TORVEX_REGISTRY), enthält als Standardwert von HKEY_LOCAL_MACHINE\%2 keinen brauchbaren Text.</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot;, which stands in for the registry (TORVEX_REGISTRY names it), cannot be used: %2.</source>
        <translation>Die Datei „%1“, die anstelle der Registrierung gelesen wird (festgelegt durch TORVEX_REGISTRY), ist nicht verwendbar: %2.</translation>
    </message>
    <message>
        <source>it is larger than 16 MiB</source>
        <translation>sie ist größer als 16 MiB</translation>
    </message>
    <message>
        <source>it cannot be read (%1)</source>
        <translation>sie ist nicht lesbar (%1)</translation>
    </message>
    <message>
        <source>it does not exist</source>
        <translation>sie existiert nicht</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>sie ist keine reguläre Datei</translation>
    </message>
</context>
<context>
    <name>RemoteApi</name>
    <message>
        <source>The remote-API library %1 %2 (%3).</source>
        <translation>Die Remote-API-Bibliothek %1 %2 (%3).</translation>
    </message>
    <message>
        <source>cannot be loaded</source>
        <translation>kann nicht geladen werden</translation>
    </message>
    <message>
        <source>has no %1</source>
        <translation>enthält %1 nicht</translation>
    </message>
    <message>
        <source>not in the absolute folders of LD_LIBRARY_PATH, whose other elements are never searched</source>
        <translation>nicht in den absoluten Ordnern von LD_LIBRARY_PATH; dessen übrige Einträge werden nie durchsucht</translation>
    </message>
    <message>
        <source>No empty temporary folder could be made to load the remote-API library %1 from (in %2): %3.</source>
        <translation>Es konnte kein leerer temporärer Ordner angelegt werden, um die Remote-API-Bibliothek %1 von dort zu laden (in %2): %3.</translation>
    </message>
</context>
<context>
    <name>SetupLock</name>
    <message>
        <source>The lock %1 is held by another program.</source>
        <translation>Die Sperre %1 wird von einem anderen Programm gehalten.</translation>
    </message>
    <message>
        <source>The lock %1 is held by %2.</source>
        <translation>Die Sperre %1 wird von %2 gehalten.</translation>
    </message>
    <message>
        <source>%1; going on without making sure no other Setup runs.</source>
        <translation>%1; Setup fährt fort, ohne sicherzustellen, dass kein anderes Setup läuft.</translation>
    </message>
    <message>
        <source>TORVEX_LOCK names a lock that cannot be used: %1.</source>
        <translation>TORVEX_LOCK nennt eine Sperre, die nicht verwendet werden kann: %1.</translation>
    </message>
</context>
<context>
    <name>SystemProcessServices</name>
    <message>
        <source>The run ended by signal %1.</source>
        <translation>Das Programm wurde durch Signal %1 beendet.</translation>
    </message>
    <message>
        <source>How the run ended could not be learned from the system.</source>
        <translation>Das System hat nicht gemeldet, wie das Programm endete.</translation>
    </message>
    <message>
        <source>The run ended with exit code %1.</source>
        <translation>Das Programm endete mit dem Rückgabewert %1.</translation>
    </message>
    <message>
        <source>The program &quot;%1&quot; could not be started: %2.</source>
        <translation>Das Programm „%1“ konnte nicht gestartet werden: %2.</translation>
    </message>
    <message>
        <source>its path holds a NUL character</source>
        <translation>sein Pfad enthält ein NUL-Zeichen</translation>
    </message>
    <message>
        <source>its command line is longer than Windows allows</source>
        <translation>seine Befehlszeile ist länger, als Windows erlaubt</translation>
    </message>
    <message>
        <source>The run ended with exception %1.</source>
        <translation>Das Programm endete mit der Ausnahme %1.</translation>
    </message>
</context>
<context>
    <name>WindowsRegistry</name>
    <message>
        <source>The default value of HKEY_LOCAL_MACHINE\%1 is not text.</source>
        <translation>Der Standardwert von HKEY_LOCAL_MACHINE\%1 ist kein Text.</translation>
    </message>
    <message>
        <source>The default value of HKEY_LOCAL_MACHINE\%1 cannot be read: %2.</source>
        <translation>Der Standardwert von HKEY_LOCAL_MACHINE\%1 kann nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>The default value of HKEY_LOCAL_MACHINE\%1 holds a NUL character, so the program it names is not certain.</source>
        <translation>Der Standardwert von HKEY_LOCAL_MACHINE\%1 enthält ein NUL-Zeichen, daher ist unklar, welches Programm er nennt.</translation>
    </message>
</context>
</TS>
