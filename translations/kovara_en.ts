<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>kovara::core::BackupFile</name>
    <message>
        <source>An error occurred while restoring backup data. Operation aborted. Your backup file is probably damaged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>another program is writing to it. Try again when it has finished.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to rename %1 to %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to write backup file %1: the compressor could not start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to read %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to write backup file %1: compression failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to write backup file %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it holds no table %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is damaged (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to create backup file %1: it is the database %2 itself</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to create backup file %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to open %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not a valid Kovara backup file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is not enough free space on the disk to restore the backup: %1 could not be written (%2).

Your backup file is fine, and your current data has not been changed. Make room on the disk, then restore again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The restored data could not be written: %1 (%2).

Your backup file is fine, and your current data has not been changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The backup was not restored: another program is writing to %1. Try again when it has finished.

Your backup file is fine, and your current data has not been changed.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::core::BibleSearch</name>
    <message>
        <source>Search for words, &quot;an exact phrase&quot; in quotes, or the start of a word with * (believ*); put AND, OR or NOT in capitals between them</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A &quot;)&quot; has no &quot;(&quot; before it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Put a word between &quot;(&quot; and &quot;)&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close the &quot;(&quot; with a &quot;)&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This Bible has no search index</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Put a word after &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Put a word between &quot;%1&quot; and &quot;%2&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Put a word before &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no word to search for in %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::core::CatchUp</name>
    <message>
        <source>Every day of this plan has been read: there is nothing to catch up.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The planned finish date of this plan has passed, so the unread days cannot be spread over the days left.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::core::DataFolders</name>
    <message>
        <source>Unable to create user data folder &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::core::IniFile</name>
    <message>
        <source>Unable to write to %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::core::NewPlan</name>
    <message>
        <source>Based on the completion date you have chosen, this plan would have less than one verse per day. A reading plan must have at least one verse per day. Please adjust your completion date.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Reading Plan Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter a name for your new reading plan:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, you cannot have an blank plan name. Please specify a plan name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, there is already a plan with that name. Please specify a different plan name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bible in a Year</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom Reading Plan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Less than one verse</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n verses</source>
        <translation>
            <numerusform>One verse</numerusform>
            <numerusform>%n verses</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>About %n verses</source>
        <translation>
            <numerusform>About one verse</numerusform>
            <numerusform>About %n verses</numerusform>
        </translation>
    </message>
    <message>
        <source>(%1 total verses; %2 days; %3 per day.)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::core::PlanPrintout</name>
    <message>
        <source>&lt;thead&gt;&lt;tr&gt;&lt;td&gt;&amp;nbsp;Read&amp;nbsp;&lt;/td&gt;&lt;td&gt;&amp;nbsp;Day&amp;nbsp;&lt;/td&gt;&lt;td&gt;&amp;nbsp;Date&amp;nbsp;&lt;/td&gt;&lt;td&gt;&amp;nbsp;Verses&amp;nbsp;&lt;/td&gt;&lt;/tr&gt;&lt;/thead&gt;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::core::PlanStore</name>
    <message>
        <source>day %1 holds &quot;%2&quot;, which is not a passage</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::core::ReferenceParser</name>
    <message>
        <source>Type a reference such as &quot;John 3:16&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No book called &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 has %n chapters</source>
        <translation>
            <numerusform>%1 has 1 chapter</numerusform>
            <numerusform>%1 has %n chapters</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 %2 has %3 verses</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The passage ends before it starts: &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::core::TodaysReading</name>
    <message>
        <source>Note: You are behind on your reading plan.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This plan has been completed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This plan day has been marked as read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You&apos;re catching up! The next unread day of your plan has been loaded.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Congratulations, you have completed this reading plan!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day %1 of %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::core::UserSession</name>
    <message>
        <source>%1 has no list of reading plans (the table %2 is missing), but it holds %3 other tables (%4): plans and their progress whose list has been lost, or a file of another program.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not a prayer journal (the table %2 is missing), but it holds %3 other tables (%4): a file of another program, or a journal that has lost its items.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to rename %1 to %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::core::Version1Reader</name>
    <message>
        <source>Kovara 2 can import your %1 prayer item(s) from Kovara 1. Would you like to do so?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kovara 2 can import your Bible in a Year plan from Kovara 1, started on %1. Would you like to do so?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::core::WelcomePage</name>
    <message>
        <source>You have completed this reading plan.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are behind on this reading plan.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You have not yet read today&apos;s Scripture for this plan.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are up to date on this plan.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt;Welcome to Kovara.&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt;Bible reading plan summary:&lt;ul&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;li&gt;You do not currently have any Bible reading plans. You can &lt;a href=&quot;%1&quot;&gt;start one now&lt;/a&gt;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;font size=&quot;-1&quot;&gt;You can always &lt;a href=&quot;%1&quot;&gt;create another plan&lt;/a&gt; and &lt;a href=&quot;%2&quot;&gt;manage your plans&lt;/a&gt;.&lt;/font&gt;&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt;You do not have any prayer items in your Prayer Tracker. You can &lt;a href=&quot;%1&quot;&gt;add a prayer item&lt;/a&gt; at any time.&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>&lt;p&gt;You have %n prayer items in your Prayer Tracker.</source>
        <translation>
            <numerusform>You have one prayer item in your Prayer Tracker.</numerusform>
            <numerusform>&lt;p&gt;You have %n prayer items in your Prayer Tracker.</numerusform>
        </translation>
    </message>
    <message>
        <source>&lt;li&gt;&lt;a href=&quot;%1&quot;&gt;Create New Prayer Item&lt;/a&gt;&lt;/li&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;li&gt;&lt;a href=&quot;%1&quot;&gt;View Active&lt;/a&gt;: %2&lt;/li&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;li&gt;&lt;a href=&quot;%1&quot;&gt;View Answered&lt;/a&gt;: %2&lt;/li&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;li&gt;&lt;a href=&quot;%1&quot;&gt;View Inactive&lt;/a&gt;: %2&lt;/li&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;li&gt;&lt;a href=&quot;%1&quot;&gt;View All&lt;/a&gt;: %2&lt;/li&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt;You have not yet read today&apos;s &lt;a href=&quot;%1&quot;&gt;&lt;i&gt;Faith&apos;s Checkbook&lt;/i&gt;&lt;/a&gt; devotional.&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This reading plan starts on %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui</name>
    <message>
        <source>Kovara: Bible reading plans, a daily devotional and a prayer journal.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shows this help and ends.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shows the version and ends.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A Bible reference to open, such as &quot;John 3:16&quot; or &quot;Gen 1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usage: %1 [options] [reference]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Options:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Arguments:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::AboutDialog</name>
    <message>
        <source>About Kovara</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kovara</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy User Data Path to Clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Website:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Email:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User data folder: 
%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::BackupCommands</name>
    <message>
        <source>Kovara</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are about to restore Prayer and Reading Plan data from &quot;%1&quot;.

This will erase any existing Prayer and Reading Plan data you may have.
Are you sure you wish to proceed?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup process complete.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Writing the backup...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restoring the backup...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data restoration process complete.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Specify backup file location and name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Specity backup file to restore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kovara backup files (*.kova2bak)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1

Kovara has not changed this file. Do you want to set it aside (it is renamed, with &quot;.unrecognised&quot; added to its name) and start with a new, empty one? A backup can then be restored. No ends Kovara and leaves the file as it is.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>• &quot;%1&quot;: %2
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These reading plans are damaged and cannot be opened:

%1
They are left out of the plan lists. Your other plans and your prayers are not affected, and restoring a backup that holds these plans brings them back.

Do you want to delete the damaged plans?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checking the backup...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::BiblePage</name>
    <message>
        <source>Go to, e.g. John 3:16</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Book</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chapter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous Chapter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next Chapter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous chapter (Alt+Left)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next chapter (Alt+Right)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Bible</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Go to a reference</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bible version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>KJV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This version cannot be opened: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Side by Side</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show other versions beside this one, up to four in all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Commentary</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show a commentary beside the text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back to the place shown before (Ctrl+[)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forward</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forward again (Ctrl+])</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find in chapter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous in the chapter (Shift+F3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next in the chapter (F3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not in this chapter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No commentary of the SWORD library is installed on this computer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;i&gt;%1 has nothing on %2.&lt;/i&gt;&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::BibleVersionsDialog</name>
    <message>
        <source>Bible Versions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Bibles of the SWORD library on this computer. A Bible is imported once, then it reads and searches as fast as the King James Version.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bible</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Module</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>State</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bibles</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Bibles of the SWORD library are installed on this computer. Debian&apos;s packages sword-text-* hold some; others can be installed into ~/.sword.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not imported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A newer version can be imported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Imported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Bible %1 is not installed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Importing %1...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 could not be imported: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The import of %1 was cancelled; nothing was changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is imported.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::CatchUpDialog</name>
    <message numerus="yes">
        <source>%n days</source>
        <translation>
            <numerusform>1 day</numerusform>
            <numerusform>%n days</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Each day then holds up to %n verses.</source>
        <translation>
            <numerusform>Each day then holds one verse.</numerusform>
            <numerusform>Each day then holds up to %n verses.</numerusform>
        </translation>
    </message>
    <message>
        <source>That is more than most readers manage in a day: starting again or reading two plan days a day may suit you better.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day %1 becomes today&apos;s reading and every later day moves with it. The plan will finish on %2 (%3 later).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The passages of your %1 unread days are divided again over the %2 from today to %3, your planned finish. The days you have read stay as they are. You can undo this right after.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read two plan days a day for %1: you will be caught up on %2 and finish on %3. The reading page shows both days, and Mark Passage as Read marks both.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Catch Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>&quot;%1&quot; is %n days behind. Missing days happens to every reader; choose how you would like to get back on track:</source>
        <translation>
            <numerusform>&quot;%1&quot; is 1 day behind. Missing a day happens to every reader; choose how you would like to get back on track:</numerusform>
            <numerusform>&quot;%1&quot; is %n days behind. Missing days happens to every reader; choose how you would like to get back on track:</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Start again from here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Keep my finish date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Double up for a while</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::ColorComboBox</name>
    <message>
        <source>Black</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maroon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Green</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Olive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Navy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Purple</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Teal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gray</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Silver</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Red</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lime</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fuchsia</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aqua</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>White</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scroll Bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Active Caption</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inactive Caption</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Menu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Window Frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Menu Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Window Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Caption Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Active Border</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inactive Border</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Application Workspace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Highlight</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Highlight Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Button Face</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Button Shadow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gray Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Button Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inactive Caption Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Button Highlight</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>3D Dark Shadow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>3D Light</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Info Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Info Background</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hot Light</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gradient Active Caption</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gradient Inactive Caption</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Menu Highlight</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Menu Bar</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::DevotionalPage</name>
    <message>
        <source>Devotional Title</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Devotional Author</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Today</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show today&apos;s entry</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Devotional</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>by %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::Dialogs</name>
    <message>
        <source>Kovara</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::ErrorGuard</name>
    <message>
        <source>Unknown error</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::GeneralCommands</name>
    <message>
        <source>Kovara could not start an e-mail program. You can write to technical support at this address:

%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

Please use the subject &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kovara could not open a web browser. You can copy this address into your browser:

%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kovara</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No printer is available.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please ensure that you have a printer properly installed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to open Print Setup dialog. Please verify that you have a properly installed printer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; already exists.

Do you want to replace it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to write the printout to &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::GetModulesDialog</name>
    <message>
        <source>Bible</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Commentary</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dictionary</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language not given</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get Bibles and Commentaries</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Source:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Refresh List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Add Source...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Show:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bibles and commentaries</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bibles</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Commentaries</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Everything</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Module</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>State</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modules by language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Install</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re&amp;move</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Source</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The address of a SWORD repository, for example https://example.org/sword (HTTP, HTTPS, FTP or SFTP):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bibles and commentaries from the SWORD repositories are installed into %1, where Kovara and other Bible programs find them. Choose a source and refresh its list.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect to the Internet?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To list and fetch modules, Kovara connects to the SWORD repositories over the internet. The repositories, and anyone who watches the connection, can see that this computer asks for Bible modules. In places where reading the Bible is dangerous, do not connect.

Kovara works fully without connecting. Connect now?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No sources are listed yet. Refresh List fetches SWORD&apos;s list of standard sources; Add Source... adds another.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Update to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Installed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Installed by the system</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The source was not added: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fetching the list of SWORD&apos;s sources...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fetching the list of %1...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Installing %1...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is removed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelled; nothing was changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::HelpViewer</name>
    <message>
        <source>Kovara Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back (Alt+Left)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forward</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forward (Alt+Right)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contents (Alt+Home)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The help file &quot;%1&quot; could not be found.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::JournalExport</name>
    <message>
        <source>all dates</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 items</source>
        <translation>
            <numerusform>%1 item</numerusform>
            <numerusform>%1 items</numerusform>
        </translation>
    </message>
    <message>
        <source>Prayer journal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preparing the prayer items...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Answer: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Created %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last edited %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Answered %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>answered (date not recorded)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 could not be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Writing page %1 of %2...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 could not be written: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Answered</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inactive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>all categories</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>without a category</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>created %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>answered %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>created or answered %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prayer journal (%1; %2; %3): %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prayer (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Without a category</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::JournalExportDialog</name>
    <message>
        <source>Export Prayer Journal - Kovara</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A&amp;ctive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A&amp;nswered</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Inactive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Any date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Created between</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Answered between</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Created or answered between</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>and</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF document</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HTML page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Statuses:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Dates:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Format:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Export...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All categories</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Without a category</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Category:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::MainActions</name>
    <message>
        <source>&amp;Welcome and Summary</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Welcome and Summary page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Faith&apos;s Checkbook</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read the &amp;Bible</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read the Bible (Ctrl+B)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Start New Reading Plan...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading Plan &amp;Manager</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;New Prayer Item...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View Ac&amp;tive Prayers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View &amp;Answered Prayers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View &amp;Inactive Prayers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View A&amp;ll Prayers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy Selected Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy Selected Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Backup...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Restore from Backup...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pr&amp;eferences...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit Kovara</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Printer Set&amp;up...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Help File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About Kovara</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kovara &amp;Website</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Email Technical Support</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check for &amp;Updates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bible &amp;Versions...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Get Bibles and Commentaries...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Pray Today</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::MainWindow</name>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Reading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Bible</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Devotional</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Prayers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tools</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Welcome</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Daily Devotional</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Daily Bible Reading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bible</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prayer Tracker</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The reading plan store is not open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The prayer store is not open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kovara %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::NewPlanDialog</name>
    <message>
        <source>Create Daily Bible Reading Plan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select a Daily Reading Plan:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bible in a Year: Seven Book Types a Week</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bible in a Year: Old and New Testaments Each Day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom Reading Plan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create Reading Plan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Starting Book:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chapter:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ending Book:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Completion Date:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Starting Chapter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ending Chapter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This plan will take you through the Bible in a year. Each day of the week, you will read from a different type of book: On the first day of the plan, you will read from The Law; on the second, History; on the third, Psalms; on the fourth, Poetry; on the fifth, Prophecy; on the sixth, The Gospels; and on the seventh, The Epistles.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This plan will take you though the Bible in a year. Each day you will read a portion of Scripture from the Old Testament and from the New Testament.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create your own reading plan by choosing what you want to read and the date you want to complete your reading.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::PageFrame</name>
    <message>
        <source>Copy Selected Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select All</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::PassageView</name>
    <message>
        <source>Bible Reading Plan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading Plan Title</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plan day info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Passage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::PlanCalendarView</name>
    <message>
        <source>read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>still to read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>today</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>to come</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read ahead</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plan Calendar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day %1, %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (read)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 days read, %3 earlier days still to read</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::PlanController</name>
    <message>
        <source>Start New Reading Plan...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading Plan Manager</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xport Plan to Calendar...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Days %1 and %2 of %3: %4; %5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Doubling up: two plan days a day until you are caught up.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are caught up! From here on, one plan day a day keeps you on track.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are up to date on &quot;%1&quot;: there is nothing to catch up.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dividing the unread days again...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your unread days are now spread over the days until %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The plan has changed since its days were divided again, so this can no longer be undone.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no reading plan to export. Start a reading plan first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Plan to Calendar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>iCalendar files (*.ics);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to write to %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Every day of this plan has been read, so there is nothing left to put in a calendar.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading Plan</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::PlanManagerPage</name>
    <message>
        <source>No reading plans have been created. Click &quot;Start New Reading Plan.&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mark all days through this day as read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rest plan so that this day is today</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename Reading Plan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, you cannot have an blank plan name. Please specify a new plan name or cancel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, there is already a plan with that name. Please specify a different plan name or cancel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading Plan Manager</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plan Days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Passage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Plan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename Plan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start New Reading Plan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading Plan:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right-click plan days for additional options.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plan Progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click a day to open it; hover over it to see its passage.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mark all days through day %1 as read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset plan so that day %1 is today</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you absolutely certain that you wish to permanantly delete plan &quot;%1&quot;?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter a new name for &quot;%1.&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading Plan</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::PlanProgressText</name>
    <message>
        <source>%1 of %2 days read (%3%)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>finished on %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>finished</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>starts on %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n days behind</source>
        <translation>
            <numerusform>1 day behind</numerusform>
            <numerusform>%n days behind</numerusform>
        </translation>
    </message>
    <message>
        <source>up to date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>at your pace of the last 30 days you will finish on %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>planned to finish on %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Catch up</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::PrayTodayPage</name>
    <message numerus="yes">
        <source>%n item(s) to pray for</source>
        <translation>
            <numerusform>One item to pray for</numerusform>
            <numerusform>%n items to pray for</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>, %n prayed</source>
        <translation>
            <numerusform>, one prayed</numerusform>
            <numerusform>, %n prayed</numerusform>
        </translation>
    </message>
    <message>
        <source>Pray Today</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Today</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show today&apos;s list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Items in turn come up once every</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cycle length in days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prayer items of the day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pray Today %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::PrayerAnsweredDialog</name>
    <message>
        <source>Prayer Answered</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>optional</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Answered &amp;on:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;How was it answered?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::PrayerCommands</name>
    <message>
        <source>&amp;Export Prayer Journal...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Writes chosen prayer items to a PDF document or an HTML page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prayer journal.pdf</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prayer journal.html</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Prayer Journal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF documents (*.pdf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HTML pages (*.html *.htm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preparing the prayer items...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 written to %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No prayer items match the statuses, category and dates you chose.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::PrayerEditor</name>
    <message>
        <source>Do you wish to save your changes to this prayer item?

Select YES to save your changes and close the prayer editor.
Select NO to close the prayer editor without saving your changes.
Select CANCEL to return to the prayer editor without closing it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Editing Prayer Item - Kovara</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save and Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Specify a title for this prayer item here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Specify an optional category for your prayer here. You may use an existing category or create a new one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Answered</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inactive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set the status of this prayer to &quot;Active,&quot; &quot;Answered,&quot; or &quot;Inactive&quot; here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prayer &amp;Title:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prayer &amp;Category:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prayer &amp;Status:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prayer Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unmodified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cut|Cuts the selection and puts it on the Clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy|Copies the selection and puts it on the Clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste|Inserts Clipboard contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo|Reverts the last action</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Bold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Italic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Italic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Underline</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Underline</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Strikeout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Strikeout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Bullets</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bullets|Inserts a bullet on the current line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Align &amp;Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Align Left|Aligns text at the left indent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Center</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Center|Centers text between margins</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Align &amp;Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Align Right|Aligns text at the right indent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Created: %1; Last Edited: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Created on %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Answered On</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>How was it answered?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Answered &amp;on:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dated Notes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Note</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dated &amp;notes:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Add Note</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adds a note dated today; type its text, and double-click a date or a text to change it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete Note</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prayer Category</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Formatting</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::PrayerScheduleMenu</name>
    <message>
        <source>Every &amp;Day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Monday to Friday</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Once a &amp;Week</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Once a M&amp;onth</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In &amp;Turn</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comes Up on the Prayer List</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::PrayerReminder</name>
    <message numerus="yes">
        <source>Time to pray: %n item(s) on today&apos;s list</source>
        <translation>
            <numerusform>Time to pray: 1 item on today&apos;s list</numerusform>
            <numerusform>Time to pray: %n items on today&apos;s list</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>kovara::ui::PrayerSearch</name>
    <message>
        <source>Preparing prayer search...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kovara</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::PrayerTrackerPage</name>
    <message>
        <source>No prayer item currently selected.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click Edit Prayer to add text to this prayer item.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prayer Tracker</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Answered</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inactive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prayer Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prayer Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy Selected Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit Prayer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click to edit prayer item.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Prayer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prayer Status:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click to change prayer status.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Active Prayer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Answered Prayer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inactive Prayer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prayer Status: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Created: %1; Last Edited: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure you wish to permenantly delete prayer item &quot;%1?&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search Prayers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>answered (date not recorded)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>answered %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Answered %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Answered %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Latest note, %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prayer Journal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No prayer item matches &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search titles, categories, text and notes (Ctrl+F)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::PreferencesDialog</name>
    <message>
        <source>Kovara Preferences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paragraph Style Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Text Display </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font Size:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font Color:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Background Color:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Bible Text </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::ReadingPage</name>
    <message>
        <source>View or Edit Reading Plan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mark Passage as Read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plan Progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Catch Up...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ways to get back on track with this plan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bible version this plan is read in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bible version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Side by Side</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show other versions beside this one, up to four in all</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::ReminderNotifier</name>
    <message>
        <source>Time to read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read now</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::ReminderSettingsPanel</name>
    <message>
        <source>Daily Reading Reminder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Remind me to read at</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reminder time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plans to remind me of</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remind me of these &amp;plans:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Kovara when I &amp;log in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to remove %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to write to %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::SearchPanel</name>
    <message>
        <source>Search: words, &quot;a phrase&quot;, believ*, AND OR NOT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Whole Bible</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Old Testament</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Testament</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This book</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bible order</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Most relevant first</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 verses</source>
        <translation>
            <numerusform>%1 verse</numerusform>
            <numerusform>%1 verses</numerusform>
        </translation>
    </message>
    <message>
        <source> (the first %1 shown; scroll for more)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search the Bible</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search results</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the whole Bible</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the Old Testament</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the New Testament</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>this book</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No verses found for %1 in %2. Check the spelling, or end a word with * to find every word that starts with it (believ*).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Order of results</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All versions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search this version or every imported one</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 in %2 versions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (the first %1 shown)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::SingleInstance</name>
    <message>
        <source>process %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>process %1 on %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kovara cannot start: its data folder &quot;%1&quot; is read-only, so nothing you do could be saved.

Make the folder writable and start Kovara again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another copy of Kovara (%1) is using the data folder &quot;%2&quot; but does not answer.

Close that copy, or end it if it no longer responds, and start Kovara again. If it runs on another computer that shares this folder, close it there.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown process</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kovara cannot make its lock &quot;%1&quot;, so it cannot tell whether another copy uses the same data. Kovara starts without that check: do not start a second copy.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::SyncController</name>
    <message>
        <source>This computer</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n text(s) changed on two computers at once were kept as dated notes beside the newer text.</source>
        <translation>
            <numerusform>%n text changed on two computers at once was kept as a dated note beside the newer text.</numerusform>
            <numerusform>%n texts changed on two computers at once were kept as dated notes beside the newer texts.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>kovara::ui::SyncSettingsPanel</name>
    <message>
        <source>Other computers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep my plans and prayers in step through this folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A folder that Syncthing, Nextcloud or another service keeps in step</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This computer&apos;s name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This computer&apos;s name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last exchange:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Never</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync Folder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>kovara::ui::WelcomePage</name>
    <message>
        <source>Welcome to Kovara</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Welcome and Summary</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
