<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>About</name>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
</context>
<context>
    <name>CategoryForm</name>
    <message>
        <source>Edit Category</source>
        <translation>编辑类别</translation>
    </message>
</context>
<context>
    <name>Login</name>
    <message>
        <source>&amp;Password</source>
        <translation>密码(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Login</source>
        <translation>登录(&amp;L)</translation>
    </message>
    <message>
        <source>Password Input</source>
        <translation>输入密码</translation>
    </message>
    <message>
        <source>&lt;font color=red&gt;password error!&lt;/font&gt;</source>
        <translation>&lt;font color=red&gt;密码错误！&lt;/font&gt;</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>display cards beong to %1 category</source>
        <translation>显示属于 %1 类别的卡片</translation>
    </message>
    <message>
        <source>English</source>
        <translation>英语</translation>
    </message>
    <message>
        <source>switch langange to English</source>
        <translation>将界面语言切换为英语</translation>
    </message>
    <message>
        <source>Chinese(Simplified)</source>
        <translation>简体中文</translation>
    </message>
    <message>
        <source>switch language to simplified chinese</source>
        <translation>将界面语言切换为简体中文</translation>
    </message>
    <message>
        <source>Switch language</source>
        <translation>切换语言</translation>
    </message>
    <message>
        <source>The language could not be stored: %1</source>
        <translation>无法保存语言设置：%1</translation>
    </message>
    <message>
        <source>Switch language to %1, available after restart application.</source>
        <translation>语言已切换为 %1，重新启动程序后生效。</translation>
    </message>
    <message>
        <source>Nimbrel 2.12</source>
        <translation>Nimbrel 2.12</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>编辑(&amp;E)</translation>
    </message>
    <message>
        <source>open Edit Category dialog</source>
        <translation>打开编辑类别对话框</translation>
    </message>
    <message>
        <source>ctrl+E</source>
        <translation>ctrl+E</translation>
    </message>
    <message>
        <source>&amp;All</source>
        <translation>全部(&amp;A)</translation>
    </message>
    <message>
        <source>display all cards in main view</source>
        <translation>在主视图中显示全部卡片</translation>
    </message>
    <message>
        <source>ctrl+A</source>
        <translation>ctrl+A</translation>
    </message>
    <message>
        <source>&amp;Category</source>
        <translation>类别(&amp;C)</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>类别</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>打开(&amp;O)</translation>
    </message>
    <message>
        <source>open current indexical card</source>
        <translation>打开当前选中的卡片</translation>
    </message>
    <message>
        <source>ctrl+O</source>
        <translation>ctrl+O</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>添加(&amp;A)</translation>
    </message>
    <message>
        <source>add a new card</source>
        <translation>添加一张新卡片</translation>
    </message>
    <message>
        <source>ctrl+N</source>
        <translation>ctrl+N</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>删除(&amp;D)</translation>
    </message>
    <message>
        <source>delete a card</source>
        <translation>删除一张卡片</translation>
    </message>
    <message>
        <source>ctrl+D</source>
        <translation>ctrl+D</translation>
    </message>
    <message>
        <source>Ca&amp;rd</source>
        <translation>卡片(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>选项(&amp;O)</translation>
    </message>
    <message>
        <source>Set &amp;Password</source>
        <translation>设置密码(&amp;P)</translation>
    </message>
    <message>
        <source>chang password</source>
        <translation>修改密码</translation>
    </message>
    <message>
        <source>Export Data...</source>
        <translation>导出数据...</translation>
    </message>
    <message>
        <source>export cards database</source>
        <translation>导出卡片数据库</translation>
    </message>
    <message>
        <source>Import Data...</source>
        <translation>导入数据...</translation>
    </message>
    <message>
        <source>import cards database</source>
        <translation>导入卡片数据库</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>语言(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>帮助(&amp;H)</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>关于(&amp;A)</translation>
    </message>
    <message>
        <source>O&amp;pen</source>
        <translation>打开(&amp;P)</translation>
    </message>
    <message>
        <source>Clos&amp;e</source>
        <translation>关闭(&amp;E)</translation>
    </message>
    <message>
        <source>exit Nimbrel</source>
        <translation>退出 Nimbrel</translation>
    </message>
    <message>
        <source>Close Nimbrel</source>
        <translation>关闭 Nimbrel</translation>
    </message>
    <message>
        <source>Your changes could not be saved. Close anyway and lose them?</source>
        <translation>您的修改无法保存。仍要关闭并放弃这些修改吗？</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Database Error</source>
        <translation>数据库错误</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>Bank Account</source>
        <translation>银行账户</translation>
    </message>
    <message>
        <source>Computer Account</source>
        <translation>计算机账户</translation>
    </message>
    <message>
        <source>Contact</source>
        <translation>联系人</translation>
    </message>
    <message>
        <source>Credit Card</source>
        <translation>信用卡</translation>
    </message>
    <message>
        <source>Database Account</source>
        <translation>数据库账户</translation>
    </message>
    <message>
        <source>eBank Account</source>
        <translation>网上银行账户</translation>
    </message>
    <message>
        <source>eBay Account</source>
        <translation>eBay 账户</translation>
    </message>
    <message>
        <source>eMail Account</source>
        <translation>电子邮件账户</translation>
    </message>
    <message>
        <source>General Purpose</source>
        <translation>通用</translation>
    </message>
    <message>
        <source>Master Card</source>
        <translation>万事达卡</translation>
    </message>
    <message>
        <source>Mobile Phone</source>
        <translation>手机</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>Paypal Account</source>
        <translation>Paypal 账户</translation>
    </message>
    <message>
        <source>Serial Number</source>
        <translation>序列号</translation>
    </message>
    <message>
        <source>Taobao Account</source>
        <translation>淘宝账户</translation>
    </message>
    <message>
        <source>Visa Card</source>
        <translation>Visa 卡</translation>
    </message>
    <message>
        <source>Website</source>
        <translation>网站</translation>
    </message>
    <message>
        <source>The settings of the store cannot be read: %1</source>
        <translation>无法读取数据库中的设置：%1</translation>
    </message>
</context>
<context>
    <name>SetPw</name>
    <message>
        <source>&amp;New password</source>
        <translation>新密码(&amp;N)</translation>
    </message>
    <message>
        <source>&amp;Confirm</source>
        <translation>确认(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>确定(&amp;O)</translation>
    </message>
    <message>
        <source>Canc&amp;el</source>
        <translation>取消(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Type old password</source>
        <translation>输入旧密码(&amp;T)</translation>
    </message>
    <message>
        <source>Set Password</source>
        <translation>设置密码</translation>
    </message>
    <message>
        <source>&lt;font color=red&gt;old password not match.&lt;/font&gt;</source>
        <translation>&lt;font color=red&gt;旧密码不正确。&lt;/font&gt;</translation>
    </message>
    <message>
        <source>&lt;font color=red&gt;New passowrd and Confirm do not exactly match.&lt;/font&gt;</source>
        <translation>&lt;font color=red&gt;新密码与确认密码不一致。&lt;/font&gt;</translation>
    </message>
    <message>
        <source>&lt;font color=red&gt;&quot;none&quot; cannot be used as a password.&lt;/font&gt;</source>
        <translation>&lt;font color=red&gt;不能使用 &quot;none&quot; 作为密码。&lt;/font&gt;</translation>
    </message>
    <message>
        <source>&lt;font color=red&gt;The password could not be stored: %1&lt;/font&gt;</source>
        <translation>&lt;font color=red&gt;无法保存密码：%1&lt;/font&gt;</translation>
    </message>
</context>
<context>
    <name>TableSupport</name>
    <message>
        <source>Write Error</source>
        <translation>写入错误</translation>
    </message>
    <message>
        <source>The changes could not be written to the store:
%1

They are kept; nothing has been lost yet.</source>
        <translation>无法将修改写入数据库：
%1

修改仍然保留，尚未丢失任何内容。</translation>
    </message>
</context>
</TS>
