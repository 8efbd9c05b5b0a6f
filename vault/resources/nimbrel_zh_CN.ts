<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>About</name>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CategoryForm</name>
    <message>
        <source>Edit Category</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Login</name>
    <message>
        <source>&amp;Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password Input</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;font color=red&gt;password error!&lt;/font&gt;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>display cards beong to %1 category</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>English</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>switch langange to English</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chinese(Simplified)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>switch language to simplified chinese</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Switch language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The language could not be stored: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Switch language to %1, available after restart application.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nimbrel 2.12</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>open Edit Category dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ctrl+E</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>display all cards in main view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ctrl+A</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Category</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Category</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>open current indexical card</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ctrl+O</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>add a new card</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ctrl+N</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>delete a card</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ctrl+D</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ca&amp;rd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set &amp;Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>chang password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Data...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>export cards database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import Data...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>import cards database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>O&amp;pen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clos&amp;e</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>exit Nimbrel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close Nimbrel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your changes could not be saved. Close anyway and lose them?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Database Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bank Account</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Computer Account</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contact</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Credit Card</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Database Account</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>eBank Account</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>eBay Account</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>eMail Account</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>General Purpose</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Master Card</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mobile Phone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paypal Account</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial Number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Taobao Account</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Visa Card</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Website</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The settings of the store cannot be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SetPw</name>
    <message>
        <source>&amp;New password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Confirm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Canc&amp;el</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Type old password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;font color=red&gt;old password not match.&lt;/font&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;font color=red&gt;New passowrd and Confirm do not exactly match.&lt;/font&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;font color=red&gt;&quot;none&quot; cannot be used as a password.&lt;/font&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;font color=red&gt;The password could not be stored: %1&lt;/font&gt;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TableSupport</name>
    <message>
        <source>Write Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The changes could not be written to the store:
%1

They are kept; nothing has been lost yet.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
