<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>Form1</name>
    <message>
        <source>Are you sure you want to cancel Torvex Setup?</source>
        <translation>Voulez-vous annuler l&apos;installation de Torvex&#xa0;?</translation>
    </message>
    <message>
        <source>Torvex Setup</source>
        <translation>Installation de Torvex</translation>
    </message>
    <message>
        <source>Setup is installing Torvex on your Pocket PC</source>
        <translation>Installation de Torvex sur votre Pocket PC</translation>
    </message>
    <message>
        <source>Torvex License Agreement</source>
        <translation>Contrat de licence Torvex</translation>
    </message>
    <message>
        <source>Setup has successfully installed Torvex on your Pocket PC.</source>
        <translation>Torvex a bien été installé sur votre Pocket PC.</translation>
    </message>
    <message>
        <source>License agreement</source>
        <translation>Contrat de licence</translation>
    </message>
    <message>
        <source>I agree</source>
        <translation>J&apos;accepte</translation>
    </message>
    <message>
        <source>I don not agree</source>
        <translation>Je n&apos;accepte pas</translation>
    </message>
    <message>
        <source>&lt;&lt;  Back</source>
        <translation>&lt;&lt;  Retour</translation>
    </message>
    <message>
        <source>Next  &gt;&gt;</source>
        <translation>Suivant  &gt;&gt;</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Welcome</source>
        <translation>Bienvenue</translation>
    </message>
    <message>
        <source>Torvex on a Pocket PC</source>
        <translation>Torvex sur un Pocket PC</translation>
    </message>
    <message>
        <source>Setup is preparing to install Torvex on your Pocket PC. To continue press Next.</source>
        <translation>Le programme d&apos;installation se prépare à installer Torvex sur votre Pocket PC. Pour continuer, cliquez sur Suivant.</translation>
    </message>
    <message>
        <source>Pocket PC version</source>
        <translation>Version du Pocket PC</translation>
    </message>
    <message>
        <source>To install the program choose your Microsoft Pocket PC version.</source>
        <translation>Pour installer le programme, choisissez votre version de Microsoft Pocket PC.</translation>
    </message>
    <message>
        <source>You can see the version by choosing from the Start Menu &gt; Settings &gt; System &gt; About &gt; Version.</source>
        <translation>La version figure dans le menu Démarrer &gt; Paramètres &gt; Système &gt; À propos &gt; Version.</translation>
    </message>
    <message>
        <source> If it is 4.0.0 or higher choose  from the option below: </source>
        <translation> Pour la version 4.0.0 ou ultérieure, choisissez l&apos;option&#xa0;: </translation>
    </message>
    <message>
        <source>&quot;Microsoft Pocket PC Version 4.0.0 or higher&quot;</source>
        <translation>«&#xa0;Microsoft Pocket PC 4.0.0 ou ultérieur&#xa0;»</translation>
    </message>
    <message>
        <source>if it is an earlier version choose:</source>
        <translation>Pour une version antérieure, choisissez&#xa0;:</translation>
    </message>
    <message>
        <source>&quot;Earlier Microsoft Pocket PC Version&quot;</source>
        <translation>«&#xa0;Microsoft Pocket PC antérieur&#xa0;»</translation>
    </message>
    <message>
        <source>Microsoft Pocket PC Version 4.0.0 or higher.</source>
        <translation>Microsoft Pocket PC 4.0.0 ou ultérieur.</translation>
    </message>
    <message>
        <source>Earlier Microsoft Pocket PC Version.</source>
        <translation>Microsoft Pocket PC antérieur.</translation>
    </message>
    <message>
        <source>Ready to install</source>
        <translation>Prêt pour l&apos;installation</translation>
    </message>
    <message>
        <source>Do not start other operations while running setup. This may cause invalid installation.</source>
        <translation>Ne lancez aucune autre opération pendant l&apos;installation. Elle risquerait d&apos;échouer.</translation>
    </message>
    <message>
        <source>Click Install to begin installation.</source>
        <translation>Cliquez sur Suivant pour commencer.</translation>
    </message>
    <message>
        <source>If you want to change or review any of the installation settings press Back.</source>
        <translation>Pour vérifier ou modifier les paramètres, cliquez sur Retour.</translation>
    </message>
    <message>
        <source>To exit the installation press Cancel.</source>
        <translation>Pour quitter l&apos;installation, cliquez sur Annuler.</translation>
    </message>
    <message>
        <source>Setup is now inspecting your current Settings. Please wait.</source>
        <translation>Vérification de vos paramètres actuels. Veuillez patienter.</translation>
    </message>
    <message>
        <source>Installation progress</source>
        <translation>Progression de l&apos;installation</translation>
    </message>
    <message>
        <source>&lt;&lt; Back</source>
        <translation>&lt;&lt; Retour</translation>
    </message>
    <message>
        <source>Next &gt;&gt;</source>
        <translation>Suivant &gt;&gt;</translation>
    </message>
    <message>
        <source>Setup is already running. Try again when it has finished.</source>
        <translation>L&apos;installation est déjà en cours. Réessayez plus tard.</translation>
    </message>
    <message>
        <source>Setup is installing without asking anything. Leave the Pocket PC in its dock until this window has closed. To stop the installation press Cancel.</source>
        <translation>L&apos;installation se déroule sans aucune question. Laissez le Pocket PC sur sa station d&apos;accueil jusqu&apos;à la fermeture de cette fenêtre. Pour arrêter l&apos;installation, cliquez sur Annuler.</translation>
    </message>
    <message>
        <source>This window closes by itself.</source>
        <translation>Cette fenêtre se fermera d&apos;elle-même.</translation>
    </message>
</context>
<context>
    <name>InstallRun</name>
    <message>
        <source>No mobile device connected. Connect the Pocket PC to your host Computer and click Next.</source>
        <translation>Aucun appareil mobile connecté. Connectez le Pocket PC à votre ordinateur et cliquez sur Suivant.</translation>
    </message>
    <message>
        <source>No Pocket PC version has been chosen, so there is nothing to install. Click Back and choose your Pocket PC version.</source>
        <translation>Aucune version de Pocket PC n&apos;a été choisie, il n&apos;y a donc rien à installer. Cliquez sur Retour et choisissez la version de votre Pocket PC.</translation>
    </message>
    <message>
        <source>The registry has no path for it under HKEY_LOCAL_MACHINE\%1.</source>
        <translation>Le Registre ne contient pas son chemin sous HKEY_LOCAL_MACHINE\%1.</translation>
    </message>
    <message>
        <source>Setup cannot find the Pocket PC application manager (CEAPPMGR.EXE). %1

Install the desktop synchronisation software or correct its registry entry, then click Next.</source>
        <translation>Le programme d&apos;installation ne trouve pas le gestionnaire d&apos;applications du Pocket PC (CEAPPMGR.EXE). %1

Installez le logiciel de synchronisation ou corrigez son entrée dans le Registre, puis cliquez sur Suivant.</translation>
    </message>
    <message>
        <source>Setup cannot hand the installation files in the folder %1 on to the application manager: the folder&apos;s name has characters that cannot be passed on.

Move the installation files to a folder with a plainer name and start Setup there.</source>
        <translation>Le programme d&apos;installation ne peut pas transmettre les fichiers d&apos;installation du dossier %1 au gestionnaire d&apos;applications&#xa0;: le nom du dossier contient des caractères qui ne peuvent pas lui être transmis.

Déplacez les fichiers d&apos;installation dans un dossier au nom plus simple et relancez l&apos;installation depuis ce dossier.</translation>
    </message>
    <message>
        <source>(the current folder, which no longer exists or cannot be read)</source>
        <translation>(le dossier actuel, qui n&apos;existe plus ou ne peut pas être lu)</translation>
    </message>
    <message numerus="yes">
        <source>Setup cannot find these installation files in the folder %1:
%2

Start Setup from the folder that holds its installation files.</source>
        <translation>
            <numerusform>Le programme d&apos;installation ne trouve pas ce fichier d&apos;installation dans le dossier %1&#xa0;:
%2

Lancez l&apos;installation depuis le dossier qui contient ses fichiers d&apos;installation.</numerusform>
            <numerusform>Le programme d&apos;installation ne trouve pas ces fichiers d&apos;installation dans le dossier %1&#xa0;:
%2

Lancez l&apos;installation depuis le dossier qui contient ses fichiers d&apos;installation.</numerusform>
        </translation>
    </message>
    <message>
        <source>The application manager did not complete its run for %1:
%2

Check the application manager, then click Next to start again.</source>
        <translation>Le gestionnaire d&apos;applications n&apos;a pas terminé le traitement de %1&#xa0;:
%2

Vérifiez le gestionnaire d&apos;applications, puis cliquez sur Suivant pour recommencer.</translation>
    </message>
    <message>
        <source>Setup was stopped before its first run; nothing was installed.</source>
        <translation>L&apos;installation a été arrêtée avant la première exécution&#xa0;; rien n&apos;a été installé.</translation>
    </message>
    <message>
        <source>Setup was stopped after run %1 of %2 (%3); the handheld may be partly set up.</source>
        <translation>L&apos;installation a été arrêtée après l&apos;exécution %1 sur %2 (%3)&#xa0;; Torvex n&apos;est peut-être installé qu&apos;en partie sur le Pocket PC.</translation>
    </message>
    <message>
        <source>The registry names &quot;%1&quot;, which is not a full path.</source>
        <translation>Le Registre indique «&#xa0;%1&#xa0;», qui n&apos;est pas un chemin complet.</translation>
    </message>
    <message>
        <source>The registry names &quot;%1&quot;, which does not exist.</source>
        <translation>Le Registre indique «&#xa0;%1&#xa0;», qui n&apos;existe pas.</translation>
    </message>
    <message>
        <source>The registry names &quot;%1&quot;, which is not a program file.</source>
        <translation>Le Registre indique «&#xa0;%1&#xa0;», qui n&apos;est pas un fichier programme.</translation>
    </message>
    <message>
        <source>The registry names &quot;%1&quot;, which may not be run (it is not executable).</source>
        <translation>Le Registre indique «&#xa0;%1&#xa0;», qui ne peut pas être lancé (il n&apos;est pas exécutable).</translation>
    </message>
    <message>
        <source>Setup has been closed; nothing more is installed.</source>
        <translation>Le programme d&apos;installation a été fermé&#xa0;; rien d&apos;autre ne sera installé.</translation>
    </message>
    <message>
        <source>Setup is already installing; a second install cannot start until the first has ended.</source>
        <translation>Une installation est déjà en cours&#xa0;; une deuxième ne peut commencer qu&apos;à la fin de la première.</translation>
    </message>
</context>
<context>
    <name>InstanceLock</name>
    <message>
        <source>process %1 (%2)</source>
        <translation>le processus %1 (%2)</translation>
    </message>
</context>
<context>
    <name>KitFolder</name>
    <message>
        <source>The kit folder &quot;%1&quot; does not exist or cannot be entered.</source>
        <translation>Le dossier d&apos;installation «&#xa0;%1&#xa0;» n&apos;existe pas ou n&apos;est pas accessible.</translation>
    </message>
</context>
<context>
    <name>MessageBoxes</name>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Question</translation>
    </message>
</context>
<context>
    <name>OutputStream</name>
    <message>
        <source>nothing could be written</source>
        <translation>rien n&apos;a pu être écrit</translation>
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
        <translation>&amp;Oui</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Non</translation>
    </message>
</context>
<context>
    <name>QScrollBar</name>
    <message>
        <source>Scroll here</source>
        <translation>Défiler jusqu&apos;ici</translation>
    </message>
    <message>
        <source>Left edge</source>
        <translation>Bord gauche</translation>
    </message>
    <message>
        <source>Top</source>
        <translation>En haut</translation>
    </message>
    <message>
        <source>Right edge</source>
        <translation>Bord droit</translation>
    </message>
    <message>
        <source>Bottom</source>
        <translation>En bas</translation>
    </message>
    <message>
        <source>Page left</source>
        <translation>Page vers la gauche</translation>
    </message>
    <message>
        <source>Page up</source>
        <translation>Page précédente</translation>
    </message>
    <message>
        <source>Page right</source>
        <translation>Page vers la droite</translation>
    </message>
    <message>
        <source>Page down</source>
        <translation>Page suivante</translation>
    </message>
    <message>
        <source>Scroll left</source>
        <translation>Défiler vers la gauche</translation>
    </message>
    <message>
        <source>Scroll up</source>
        <translation>Défiler vers le haut</translation>
    </message>
    <message>
        <source>Scroll right</source>
        <translation>Défiler vers la droite</translation>
    </message>
    <message>
        <source>Scroll down</source>
        <translation>Défiler vers le bas</translation>
    </message>
</context>
<context>
    <name>QShortcut</name>
    <message>
        <source>Ctrl</source>
        <translation>Ctrl</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Maj</translation>
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
        <translation>Insérer un caractère de contrôle Unicode</translation>
    </message>
    <message>
        <source>LRM Left-to-right mark</source>
        <translation>LRM Marque gauche à droite</translation>
    </message>
    <message>
        <source>RLM Right-to-left mark</source>
        <translation>RLM Marque droite à gauche</translation>
    </message>
    <message>
        <source>ZWJ Zero width joiner</source>
        <translation>ZWJ Liant sans chasse</translation>
    </message>
    <message>
        <source>ZWNJ Zero width non-joiner</source>
        <translation>ZWNJ Antiliant sans chasse</translation>
    </message>
    <message>
        <source>ZWSP Zero width space</source>
        <translation>ZWSP Espace sans chasse</translation>
    </message>
    <message>
        <source>LRE Start of left-to-right embedding</source>
        <translation>LRE Début d&apos;enchâssement gauche à droite</translation>
    </message>
    <message>
        <source>RLE Start of right-to-left embedding</source>
        <translation>RLE Début d&apos;enchâssement droite à gauche</translation>
    </message>
    <message>
        <source>LRO Start of left-to-right override</source>
        <translation>LRO Début de dérogation gauche à droite</translation>
    </message>
    <message>
        <source>RLO Start of right-to-left override</source>
        <translation>RLO Début de dérogation droite à gauche</translation>
    </message>
    <message>
        <source>PDF Pop directional formatting</source>
        <translation>PDF Fin de formatage directionnel</translation>
    </message>
    <message>
        <source>LRI Left-to-right isolate</source>
        <translation>LRI Isolat gauche à droite</translation>
    </message>
    <message>
        <source>RLI Right-to-left isolate</source>
        <translation>RLI Isolat droite à gauche</translation>
    </message>
    <message>
        <source>FSI First strong isolate</source>
        <translation>FSI Isolat selon le premier caractère fort</translation>
    </message>
    <message>
        <source>PDI Pop directional isolate</source>
        <translation>PDI Fin d&apos;isolat directionnel</translation>
    </message>
</context>
<context>
    <name>QWidgetTextControl</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Rétablir</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Co&amp;uper</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copier</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>C&amp;oller</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Tout sélectionner</translation>
    </message>
    <message>
        <source>Copy &amp;Link Location</source>
        <translation>Copier l&apos;adresse du &amp;lien</translation>
    </message>
</context>
<context>
    <name>RegFileRegistry</name>
    <message>
        <source>The file &quot;%1&quot;, which stands in for the registry (TORVEX_REGISTRY names it), holds no usable text as the default value of HKEY_LOCAL_MACHINE\%2.</source>
        <translation>Le fichier «&#xa0;%1&#xa0;», qui tient lieu de Registre (désigné par TORVEX_REGISTRY), ne contient pas de texte utilisable comme valeur par défaut de HKEY_LOCAL_MACHINE\%2.</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot;, which stands in for the registry (TORVEX_REGISTRY names it), cannot be used: %2.</source>
        <translation>Le fichier «&#xa0;%1&#xa0;», qui tient lieu de Registre (désigné par TORVEX_REGISTRY), est inutilisable&#xa0;: %2.</translation>
    </message>
    <message>
        <source>it is larger than 16 MiB</source>
        <translation>il dépasse 16 Mio</translation>
    </message>
    <message>
        <source>it cannot be read (%1)</source>
        <translation>il ne peut pas être lu (%1)</translation>
    </message>
    <message>
        <source>it does not exist</source>
        <translation>il n&apos;existe pas</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>ce n&apos;est pas un fichier ordinaire</translation>
    </message>
</context>
<context>
    <name>RemoteApi</name>
    <message>
        <source>The remote-API library %1 %2 (%3).</source>
        <translation>La bibliothèque d&apos;API distante %1 %2 (%3).</translation>
    </message>
    <message>
        <source>cannot be loaded</source>
        <translation>ne peut pas être chargée</translation>
    </message>
    <message>
        <source>has no %1</source>
        <translation>ne contient pas %1</translation>
    </message>
    <message>
        <source>not in the absolute folders of LD_LIBRARY_PATH, whose other elements are never searched</source>
        <translation>absente des dossiers absolus de LD_LIBRARY_PATH, dont les autres éléments ne sont jamais parcourus</translation>
    </message>
    <message>
        <source>No empty temporary folder could be made to load the remote-API library %1 from (in %2): %3.</source>
        <translation>Aucun dossier temporaire vide n&apos;a pu être créé pour y charger la bibliothèque d&apos;API distante %1 (dans %2)&#xa0;: %3.</translation>
    </message>
</context>
<context>
    <name>SetupLock</name>
    <message>
        <source>The lock %1 is held by another program.</source>
        <translation>Le verrou %1 est détenu par un autre programme.</translation>
    </message>
    <message>
        <source>The lock %1 is held by %2.</source>
        <translation>Le verrou %1 est détenu par %2.</translation>
    </message>
    <message>
        <source>%1; going on without making sure no other Setup runs.</source>
        <translation>%1&#xa0;; l&apos;installation continue sans vérifier qu&apos;aucune autre installation n&apos;est en cours.</translation>
    </message>
    <message>
        <source>TORVEX_LOCK names a lock that cannot be used: %1.</source>
        <translation>TORVEX_LOCK désigne un verrou inutilisable&#xa0;: %1.</translation>
    </message>
</context>
<context>
    <name>SystemProcessServices</name>
    <message>
        <source>The run ended by signal %1.</source>
        <translation>Le programme a été arrêté par le signal %1.</translation>
    </message>
    <message>
        <source>How the run ended could not be learned from the system.</source>
        <translation>Le système n&apos;a pas indiqué comment le programme s&apos;est terminé.</translation>
    </message>
    <message>
        <source>The run ended with exit code %1.</source>
        <translation>Le programme s&apos;est terminé avec le code de sortie %1.</translation>
    </message>
    <message>
        <source>The program &quot;%1&quot; could not be started: %2.</source>
        <translation>Le programme «&#xa0;%1&#xa0;» n&apos;a pas pu être lancé&#xa0;: %2.</translation>
    </message>
    <message>
        <source>its path holds a NUL character</source>
        <translation>son chemin contient un caractère NUL</translation>
    </message>
    <message>
        <source>its command line is longer than Windows allows</source>
        <translation>sa ligne de commande dépasse la longueur permise par Windows</translation>
    </message>
    <message>
        <source>The run ended with exception %1.</source>
        <translation>Le programme s&apos;est terminé sur l&apos;exception %1.</translation>
    </message>
</context>
<context>
    <name>WindowsRegistry</name>
    <message>
        <source>The default value of HKEY_LOCAL_MACHINE\%1 is not text.</source>
        <translation>La valeur par défaut de HKEY_LOCAL_MACHINE\%1 n&apos;est pas du texte.</translation>
    </message>
    <message>
        <source>The default value of HKEY_LOCAL_MACHINE\%1 cannot be read: %2.</source>
        <translation>La valeur par défaut de HKEY_LOCAL_MACHINE\%1 ne peut pas être lue&#xa0;: %2.</translation>
    </message>
    <message>
        <source>The default value of HKEY_LOCAL_MACHINE\%1 holds a NUL character, so the program it names is not certain.</source>
        <translation>La valeur par défaut de HKEY_LOCAL_MACHINE\%1 contient un caractère NUL&#xa0;; le programme qu&apos;elle désigne est donc incertain.</translation>
    </message>
</context>
</TS>
