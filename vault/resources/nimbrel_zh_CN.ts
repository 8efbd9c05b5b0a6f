<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>About</name>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>&lt;b&gt;Nimbrel  v%1&lt;/b&gt;</source>
        <translation>&lt;b&gt;Nimbrel  v%1&lt;/b&gt;</translation>
    </message>
    <message>
        <source>&lt;a href=&quot;www.nimbrel.example.org&quot;&gt;www.nimbrel.example.org&lt;/a&gt;</source>
        <translation>&lt;a href=&quot;www.nimbrel.example.org&quot;&gt;www.nimbrel.example.org&lt;/a&gt;</translation>
    </message>
    <message>
        <source>E-mail: &lt;a href=&quot;mailto:support@nimbrel.example.org&quot;&gt;support@nimbrel.example.org&lt;/a&gt;</source>
        <translation>电子邮件：&lt;a href=&quot;mailto:support@nimbrel.example.org&quot;&gt;support@nimbrel.example.org&lt;/a&gt;</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 Nimbrel developers</source>
        <translation>版权所有 (C) 2026 Nimbrel 开发者</translation>
    </message>
</context>
<context>
    <name>CardForm</name>
    <message>
        <source>Title</source>
        <translation>标题</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>值</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>复制(&amp;C)</translation>
    </message>
    <message>
        <source>copy current indexical unit</source>
        <translation>复制当前选中的单元格</translation>
    </message>
    <message>
        <source>ctrl+C</source>
        <translation>ctrl+C</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>粘贴(&amp;P)</translation>
    </message>
    <message>
        <source>paste to current indexical unit</source>
        <translation>粘贴到当前选中的单元格</translation>
    </message>
    <message>
        <source>ctrl+V</source>
        <translation>ctrl+V</translation>
    </message>
    <message>
        <source>&amp;Add Line</source>
        <translation>添加行(&amp;A)</translation>
    </message>
    <message>
        <source>add a new line</source>
        <translation>添加一个新行</translation>
    </message>
    <message>
        <source>&amp;Delete Line</source>
        <translation>删除行(&amp;D)</translation>
    </message>
    <message>
        <source>delete a line</source>
        <translation>删除一行</translation>
    </message>
    <message>
        <source>Clos&amp;e</source>
        <translation>关闭(&amp;E)</translation>
    </message>
    <message>
        <source>close dialog</source>
        <translation>关闭对话框</translation>
    </message>
    <message>
        <source>&amp;Menu</source>
        <translation>菜单(&amp;M)</translation>
    </message>
    <message>
        <source>Bank</source>
        <translation>银行</translation>
    </message>
    <message>
        <source>First Name</source>
        <translation>名</translation>
    </message>
    <message>
        <source>Last Name</source>
        <translation>姓</translation>
    </message>
    <message>
        <source>Card NO.</source>
        <translation>卡号</translation>
    </message>
    <message>
        <source>CVC Code</source>
        <translation>CVC 码</translation>
    </message>
    <message>
        <source>Expires</source>
        <translation>有效期</translation>
    </message>
    <message>
        <source>PIN</source>
        <translation>PIN 码</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>备注</translation>
    </message>
    <message>
        <source>System</source>
        <translation>系统</translation>
    </message>
    <message>
        <source>Username</source>
        <translation>用户名</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>City</source>
        <translation>城市</translation>
    </message>
    <message>
        <source>State</source>
        <translation>州/省</translation>
    </message>
    <message>
        <source>Country</source>
        <translation>国家</translation>
    </message>
    <message>
        <source>Account</source>
        <translation>账号</translation>
    </message>
    <message>
        <source>SWIFT</source>
        <translation>SWIFT 代码</translation>
    </message>
    <message>
        <source>Phone</source>
        <translation>电话</translation>
    </message>
    <message>
        <source>eMail</source>
        <translation>电子邮件</translation>
    </message>
    <message>
        <source>Company</source>
        <translation>公司</translation>
    </message>
    <message>
        <source>Database</source>
        <translation>数据库</translation>
    </message>
    <message>
        <source>eBank</source>
        <translation>网上银行</translation>
    </message>
    <message>
        <source>Trade Code</source>
        <translation>交易密码</translation>
    </message>
    <message>
        <source>URL</source>
        <translation>网址</translation>
    </message>
    <message>
        <source>User ID</source>
        <translation>用户 ID</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>安全问题</translation>
    </message>
    <message>
        <source>Answer</source>
        <translation>答案</translation>
    </message>
    <message>
        <source>Site Name</source>
        <translation>站点名称</translation>
    </message>
    <message>
        <source>POP3</source>
        <translation>POP3 服务器</translation>
    </message>
    <message>
        <source>SMTP</source>
        <translation>SMTP 服务器</translation>
    </message>
    <message>
        <source>Card Name</source>
        <translation>卡片名称</translation>
    </message>
    <message>
        <source>PIN2</source>
        <translation>PIN2 码</translation>
    </message>
    <message>
        <source>Question1</source>
        <translation>安全问题1</translation>
    </message>
    <message>
        <source>Answer1</source>
        <translation>答案1</translation>
    </message>
    <message>
        <source>Question2</source>
        <translation>安全问题2</translation>
    </message>
    <message>
        <source>Answer2</source>
        <translation>答案2</translation>
    </message>
    <message>
        <source>Brand</source>
        <translation>品牌</translation>
    </message>
    <message>
        <source>Serial NO.</source>
        <translation>序列号</translation>
    </message>
    <message>
        <source>Model NO.</source>
        <translation>型号</translation>
    </message>
    <message>
        <source>&amp;Generate Password</source>
        <translation>生成密码(&amp;G)</translation>
    </message>
    <message>
        <source>fill the current value with a new password</source>
        <translation>用新密码填写当前值</translation>
    </message>
    <message>
        <source>Generate Password</source>
        <translation>生成密码</translation>
    </message>
    <message>
        <source>Replace this value with a new password?</source>
        <translation>用新密码替换此值吗？</translation>
    </message>
</context>
<context>
    <name>CardStore</name>
    <message>
        <source>The store is being used by another program. Nothing was lost: try again in a moment.</source>
        <translation>数据库正被另一个程序使用。没有丢失任何内容：请稍后再试。</translation>
    </message>
</context>
<context>
    <name>CategoryForm</name>
    <message>
        <source>Edit Category</source>
        <translation>编辑类别</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>添加(&amp;A)</translation>
    </message>
    <message>
        <source>add a category</source>
        <translation>添加一个类别</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>删除(&amp;D)</translation>
    </message>
    <message>
        <source>delete a category</source>
        <translation>删除一个类别</translation>
    </message>
    <message>
        <source>Clos&amp;e</source>
        <translation>关闭(&amp;E)</translation>
    </message>
    <message>
        <source>close dialog</source>
        <translation>关闭对话框</translation>
    </message>
    <message>
        <source>Cannot delete %1 because there are Cards associated with this category in the collection.</source>
        <translation>无法删除“%1”，因为还有卡片属于该类别。</translation>
    </message>
    <message>
        <source>Delete Category</source>
        <translation>删除类别</translation>
    </message>
    <message>
        <source>The categories could not be written. Close anyway and lose them?</source>
        <translation>类别无法写入。仍然关闭并丢弃它们吗？</translation>
    </message>
</context>
<context>
    <name>CsvCards</name>
    <message>
        <source>The category ids would grow too large.</source>
        <translation>类别编号将变得过大。</translation>
    </message>
    <message>
        <source>The card or line ids would grow too large.</source>
        <translation>卡片或行的编号将变得过大。</translation>
    </message>
</context>
<context>
    <name>CsvFile</name>
    <message>
        <source>The file is not text.</source>
        <translation>该文件不是文本。</translation>
    </message>
    <message>
        <source>The file is not text in UTF-8.</source>
        <translation>该文件不是 UTF-8 编码的文本。</translation>
    </message>
    <message>
        <source>A quote opened on this line is never closed.</source>
        <translation>此行开始的引号没有结束。</translation>
    </message>
    <message>
        <source>A closing quote is followed by more text in the same field.</source>
        <translation>结束引号之后同一字段中还有其他文字。</translation>
    </message>
</context>
<context>
    <name>CsvLayout</name>
    <message>
        <source>Chrome or Edge</source>
        <translation>Chrome 或 Edge</translation>
    </message>
    <message>
        <source>CSV with a header row</source>
        <translation>带标题行的 CSV</translation>
    </message>
    <message>
        <source>This row has %1 fields, more than the %2 columns of the header.</source>
        <translation>此行有 %1 个字段，多于标题行的 %2 列。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a card type.</source>
        <translation>“%1”不是卡片类型。</translation>
    </message>
</context>
<context>
    <name>CsvPreview</name>
    <message>
        <source>Recognised layout: %1
Rows that will become cards: %2. The first ones:</source>
        <translation>识别出的格式：%1
将成为卡片的行数：%2。前几行：</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>类别</translation>
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
        <source>Lines</source>
        <translation>行</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>导入(&amp;I)</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>取消(&amp;C)</translation>
    </message>
    <message>
        <source>Import CSV</source>
        <translation>导入 CSV</translation>
    </message>
</context>
<context>
    <name>EncryptStore</name>
    <message>
        <source>Every card, line and category name will be encrypted with your password. From then on the store can only be opened with this password, and a forgotten password cannot be recovered.</source>
        <translation>所有卡片、行和类别名称都将用您的密码加密。此后只有这个密码才能打开存储，忘记的密码无法找回。</translation>
    </message>
    <message>
        <source>&amp;Password</source>
        <translation>密码(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Encrypt</source>
        <translation>加密(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>取消(&amp;C)</translation>
    </message>
    <message>
        <source>Encrypt the Store</source>
        <translation>加密存储</translation>
    </message>
    <message>
        <source>Encrypting...</source>
        <translation>正在加密……</translation>
    </message>
    <message>
        <source>&lt;font color=red&gt;The store could not be encrypted and is unchanged: %1&lt;/font&gt;</source>
        <translation>&lt;font color=red&gt;无法加密存储，存储未作任何更改：%1&lt;/font&gt;</translation>
    </message>
</context>
<context>
    <name>FileDownload</name>
    <message>
        <source>the server sent nothing for too long</source>
        <translation>服务器长时间没有发送任何数据</translation>
    </message>
    <message>
        <source>the server answered %1</source>
        <translation>服务器返回了 %1</translation>
    </message>
    <message>
        <source>the transfer broke off</source>
        <translation>传输中断</translation>
    </message>
    <message>
        <source>the transfer took longer than %1 s</source>
        <translation>传输超过了 %1 秒</translation>
    </message>
    <message>
        <source>the server announced %1 bytes, more than the %2 expected</source>
        <translation>服务器声明 %1 字节，超过预期的 %2 字节</translation>
    </message>
    <message>
        <source>the server sent more than the %1 bytes expected</source>
        <translation>服务器发送的数据超过预期的 %1 字节</translation>
    </message>
    <message>
        <source>the disk is full, %1 cannot be written (%2)</source>
        <translation>磁盘已满，无法写入 %1（%2）</translation>
    </message>
    <message>
        <source>%1 cannot be written (%2)</source>
        <translation>无法写入 %1（%2）</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>Find cards: text or pinyin</source>
        <translation>查找卡片：文字或拼音</translation>
    </message>
    <message>
        <source>close the find bar and show the category&apos;s cards again</source>
        <translation>关闭查找栏，重新显示该类别的卡片</translation>
    </message>
    <message>
        <source>Search all categories</source>
        <translation>搜索所有分类</translation>
    </message>
    <message>
        <source>No card found in all categories</source>
        <translation>在所有分类中未找到卡片</translation>
    </message>
    <message>
        <source>1 card found in all categories</source>
        <translation>在所有分类中找到 1 张卡片</translation>
    </message>
    <message>
        <source>%1 cards found in all categories</source>
        <translation>在所有分类中找到 %1 张卡片</translation>
    </message>
    <message>
        <source>No card found in “%1”</source>
        <translation>在“%1”中未找到卡片</translation>
    </message>
    <message>
        <source>1 card found in “%1”</source>
        <translation>在“%1”中找到 1 张卡片</translation>
    </message>
    <message>
        <source>%1 cards found in “%2”</source>
        <translation>在“%2”中找到 %1 张卡片</translation>
    </message>
</context>
<context>
    <name>ImportLogin</name>
    <message>
        <source>&amp;Password</source>
        <translation>密码(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>确定(&amp;O)</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>取消(&amp;C)</translation>
    </message>
    <message>
        <source>Password Input</source>
        <translation>输入密码</translation>
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
    <message>
        <source>&lt;font color=red&gt;The password cannot be checked: %1&lt;/font&gt;</source>
        <translation>&lt;font color=red&gt;无法核对密码：%1&lt;/font&gt;</translation>
    </message>
    <message>
        <source>The vault is locked. Enter the password to go on.</source>
        <translation>保险库已锁定。请输入密码以继续。</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>display cards beong to %1 category</source>
        <translation>显示属于“%1”类别的卡片</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
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
        <source>Switch language to %1, available after restart application.</source>
        <translation>语言已切换为%1，重新启动程序后生效。</translation>
    </message>
    <message>
        <source>Nimbrel %1</source>
        <translation>Nimbrel %1</translation>
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
    <message>
        <source>card name</source>
        <translation>卡片名称</translation>
    </message>
    <message>
        <source>delete %1</source>
        <translation>删除“%1”</translation>
    </message>
    <message>
        <source>Do you want to delete %1?</source>
        <translation>确定要删除“%1”吗？</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>&lt;p align=&apos;center&apos;&gt;&lt;b&gt;Help&lt;/b&gt;&lt;/p&gt;&lt;b&gt;Main view:&lt;/b&gt; &lt;ul&gt; &lt;li&gt;Press button &lt;font color=blue&gt;Add&lt;/font&gt; to add a new card, and press button &lt;font color=blue&gt;Open&lt;/font&gt; to open current indexical card.&lt;/li&gt; &lt;li&gt;Double click &lt;font color=blue&gt;Category&lt;/font&gt; column to select category which can edit at &lt;font color=blue&gt;Edit Category&lt;/font&gt; dialog.&lt;/li&gt; &lt;li&gt;Double click &lt;font color=blue&gt;Type&lt;/font&gt; column to select card type, these type contain email account, password, address, conatact and so on.&lt;/li&gt;&lt;li&gt;Press &lt;font color=blue&gt;Close&lt;/font&gt; button can close application and save all cards changed and added.&lt;/li&gt; &lt;/ul&gt;&lt;b&gt;Category menu:&lt;/b&gt; &lt;ul&gt; &lt;li&gt;&lt;font color=blue&gt;Edit:&lt;/font&gt; open &lt;font color=blue&gt;Edit Category&lt;/font&gt; dialog to edit card category.&lt;/li&gt;&lt;li&gt;&lt;font color=blue&gt;All:&lt;/font&gt; display all cards in main view.&lt;/li&gt; &lt;/ul&gt;&lt;b&gt;Card menu:&lt;/b&gt; &lt;ul&gt; &lt;li&gt;&lt;font color=blue&gt;Open:&lt;/font&gt; open current indexical card in a popup dialog.&lt;/li&gt;&lt;li&gt;&lt;font color=blue&gt;Add:&lt;/font&gt; add a new card.&lt;/li&gt; &lt;li&gt;&lt;font color=blue&gt;Delete:&lt;/font&gt; delete a card which is current indexical, application will popup a dialog to query you if delete or not.&lt;/li&gt; &lt;/ul&gt;&lt;b&gt;Options menu:&lt;/b&gt; &lt;ul&gt; &lt;li&gt;&lt;font color=blue&gt;Set Password:&lt;/font&gt; pop up &lt;font color=blue&gt;Set Password&lt;/font&gt; dialog, you must type old password, and input new password and type again to confirm it.&lt;/li&gt;&lt;li&gt;&lt;font color=blue&gt;Language:&lt;/font&gt; select a language, contain English and Simple chinese in this application, if switch to another language, that language will available after restart application.&lt;/li&gt; &lt;/ul&gt;&lt;b&gt;Edit Category dialog:&lt;/b&gt; &lt;ul&gt; &lt;li&gt;Press button &lt;font color=blue&gt;Add&lt;/font&gt; to add a new category, after typed category name, must press &lt;font color=red&gt;Enter&lt;/font&gt; to submit.&lt;/li&gt;&lt;li&gt;Press button &lt;font color=blue&gt;Delete&lt;/font&gt; to delete a category, if any cards associated with this category, this category cannot delete.&lt;/li&gt;&lt;li&gt;Double click category name to modify it, must press &lt;font color=red&gt;Enter&lt;/font&gt; to submit after modified.&lt;/li&gt; &lt;/ul&gt;&lt;b&gt;Card dialog:&lt;/b&gt; &lt;ul&gt; &lt;li&gt;Press &lt;font color=blue&gt;Add Line&lt;/font&gt; button to add a new line, press &lt;font color=blue&gt;Close&lt;/font&gt; button to close dialog and save all data changed and added and deleted.&lt;/li&gt;&lt;li&gt;&lt;font color=blue&gt;Menu:&lt;/font&gt;&lt;/li&gt; &lt;ul&gt;&lt;li&gt;&lt;font color=blue&gt;Copy:&lt;/font&gt; copy current indexical unit&apos;s data to clipboard.&lt;/li&gt;&lt;li&gt;&lt;font color=blue&gt;Paste:&lt;/font&gt; paste clipboard&apos;s data to current indexical unit.&lt;/li&gt;&lt;li&gt;&lt;font color=blue&gt;Add Line:&lt;/font&gt; add a new line.&lt;/li&gt;&lt;li&gt;&lt;font color=blue&gt;Delete Line:&lt;/font&gt; delete a line.&lt;/li&gt;&lt;li&gt;&lt;font color=blue&gt;Close:&lt;/font&gt; close dialog and save all data changed and added and deleted.&lt;/li&gt;&lt;/ul&gt; &lt;/ul&gt;</source>
        <translation>&lt;p align=&apos;center&apos;&gt;&lt;b&gt;帮助&lt;/b&gt;&lt;/p&gt;&lt;b&gt;主视图：&lt;/b&gt; &lt;ul&gt; &lt;li&gt;按&lt;font color=blue&gt;添加&lt;/font&gt;按钮添加一张新卡片，按&lt;font color=blue&gt;打开&lt;/font&gt;按钮打开当前选中的卡片。&lt;/li&gt; &lt;li&gt;双击&lt;font color=blue&gt;类别&lt;/font&gt;列选择类别，类别可在&lt;font color=blue&gt;编辑类别&lt;/font&gt;对话框中编辑。&lt;/li&gt; &lt;li&gt;双击&lt;font color=blue&gt;类型&lt;/font&gt;列选择卡片类型，类型包括电子邮件账户、密码、地址、联系人等。&lt;/li&gt;&lt;li&gt;按&lt;font color=blue&gt;关闭&lt;/font&gt;按钮可关闭程序，并保存所有修改和添加的卡片。&lt;/li&gt; &lt;/ul&gt;&lt;b&gt;类别菜单：&lt;/b&gt; &lt;ul&gt; &lt;li&gt;&lt;font color=blue&gt;编辑：&lt;/font&gt;打开&lt;font color=blue&gt;编辑类别&lt;/font&gt;对话框编辑卡片类别。&lt;/li&gt;&lt;li&gt;&lt;font color=blue&gt;全部：&lt;/font&gt;在主视图中显示全部卡片。&lt;/li&gt; &lt;/ul&gt;&lt;b&gt;卡片菜单：&lt;/b&gt; &lt;ul&gt; &lt;li&gt;&lt;font color=blue&gt;打开：&lt;/font&gt;在弹出的对话框中打开当前选中的卡片。&lt;/li&gt;&lt;li&gt;&lt;font color=blue&gt;添加：&lt;/font&gt;添加一张新卡片。&lt;/li&gt; &lt;li&gt;&lt;font color=blue&gt;删除：&lt;/font&gt;删除当前选中的卡片，程序会弹出对话框询问是否删除。&lt;/li&gt; &lt;/ul&gt;&lt;b&gt;选项菜单：&lt;/b&gt; &lt;ul&gt; &lt;li&gt;&lt;font color=blue&gt;设置密码：&lt;/font&gt;弹出&lt;font color=blue&gt;设置密码&lt;/font&gt;对话框，您必须输入旧密码，再输入新密码并再次输入以确认。&lt;/li&gt;&lt;li&gt;&lt;font color=blue&gt;语言：&lt;/font&gt;选择界面语言，本程序提供英语和简体中文；切换到另一种语言后，该语言在重新启动程序后生效。&lt;/li&gt; &lt;/ul&gt;&lt;b&gt;编辑类别对话框：&lt;/b&gt; &lt;ul&gt; &lt;li&gt;按&lt;font color=blue&gt;添加&lt;/font&gt;按钮添加一个新类别，输入类别名称后必须按&lt;font color=red&gt;回车&lt;/font&gt;键提交。&lt;/li&gt;&lt;li&gt;按&lt;font color=blue&gt;删除&lt;/font&gt;按钮删除一个类别；如果有卡片属于该类别，则不能删除该类别。&lt;/li&gt;&lt;li&gt;双击类别名称可以修改它，修改后必须按&lt;font color=red&gt;回车&lt;/font&gt;键提交。&lt;/li&gt; &lt;/ul&gt;&lt;b&gt;卡片对话框：&lt;/b&gt; &lt;ul&gt; &lt;li&gt;按&lt;font color=blue&gt;添加行&lt;/font&gt;按钮添加一个新行，按&lt;font color=blue&gt;关闭&lt;/font&gt;按钮关闭对话框并保存所有修改、添加和删除的数据。&lt;/li&gt;&lt;li&gt;&lt;font color=blue&gt;菜单：&lt;/font&gt;&lt;/li&gt; &lt;ul&gt;&lt;li&gt;&lt;font color=blue&gt;复制：&lt;/font&gt;将当前选中单元格的数据复制到剪贴板。&lt;/li&gt;&lt;li&gt;&lt;font color=blue&gt;粘贴：&lt;/font&gt;将剪贴板中的数据粘贴到当前选中的单元格。&lt;/li&gt;&lt;li&gt;&lt;font color=blue&gt;添加行：&lt;/font&gt;添加一个新行。&lt;/li&gt;&lt;li&gt;&lt;font color=blue&gt;删除行：&lt;/font&gt;删除一行。&lt;/li&gt;&lt;li&gt;&lt;font color=blue&gt;关闭：&lt;/font&gt;关闭对话框并保存所有修改、添加和删除的数据。&lt;/li&gt;&lt;/ul&gt; &lt;/ul&gt;</translation>
    </message>
    <message>
        <source>Database File (*.db)</source>
        <translation>数据库文件 (*.db)</translation>
    </message>
    <message>
        <source>Export Database</source>
        <translation>导出数据库</translation>
    </message>
    <message>
        <source>%1 is the open store itself. Choose another file name.</source>
        <translation>%1 就是当前打开的数据库本身。请选择其他文件名。</translation>
    </message>
    <message>
        <source>Import Database</source>
        <translation>导入数据库</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>数据库错误</translation>
    </message>
    <message>
        <source>Passowrd Input</source>
        <translation>输入密码</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>查找(&amp;F)...</translation>
    </message>
    <message>
        <source>find cards by name or content</source>
        <translation>按名称或内容查找卡片</translation>
    </message>
    <message>
        <source>ctrl+F</source>
        <translation>ctrl+F</translation>
    </message>
    <message>
        <source>the category shown</source>
        <translation>当前分类</translation>
    </message>
    <message>
        <source>Encrypt the Store...</source>
        <translation>加密存储...</translation>
    </message>
    <message>
        <source>encrypt the cards so that only the password opens the store</source>
        <translation>加密卡片，使存储只能用密码打开</translation>
    </message>
    <message>
        <source>Encrypt the Store</source>
        <translation>加密存储</translation>
    </message>
    <message>
        <source>The store is encrypted, but its file could not be rewritten: parts of it that are no longer used may still hold the old texts until the store is next changed.</source>
        <translation>存储已加密，但无法重写其文件：在存储下次更改之前，文件中不再使用的部分可能仍含有旧的文本。</translation>
    </message>
    <message>
        <source>%1 could not be read:
%2</source>
        <translation>无法读取 %1：
%2</translation>
    </message>
    <message>
        <source>The file holds no text.</source>
        <translation>该文件不含任何文字。</translation>
    </message>
    <message>
        <source>This is no header that Nimbrel knows: none of its columns is a URL, a user name or a password.</source>
        <translation>这不是 Nimbrel 认识的标题行：其中没有网址、用户名或密码列。</translation>
    </message>
    <message>
        <source>No row follows the header.</source>
        <translation>标题行之后没有任何行。</translation>
    </message>
    <message>
        <source>%1 cannot be imported.
Line %2: %3

Nothing was imported.</source>
        <translation>无法导入 %1。
第 %2 行：%3

没有导入任何内容。</translation>
    </message>
    <message>
        <source>Import CSV</source>
        <translation>导入 CSV</translation>
    </message>
    <message>
        <source>CSV File (*.csv);;All Files (*)</source>
        <translation>CSV 文件 (*.csv);;所有文件 (*)</translation>
    </message>
    <message>
        <source>Imported %1</source>
        <translation>导入于 %1</translation>
    </message>
    <message>
        <source>Cards imported from %1: %2.

That file still holds your passwords in plain text, for anyone who can read it. You may want to delete it now.</source>
        <translation>已从 %1 导入的卡片：%2 张。

该文件仍以明文保存着您的密码，任何能读取它的人都能看到。您可能需要现在删除它。</translation>
    </message>
    <message>
        <source>The password is not the vault&apos;s password.</source>
        <translation>该密码不是本保险库的密码。</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>导出 CSV</translation>
    </message>
    <message>
        <source>The CSV file is not protected: whoever can read it sees every password in it. Keep it where only you can reach it, and delete it once it has served.

Export all cards, or only the cards the table shows?</source>
        <translation>CSV 文件不受保护：任何能读取它的人都能看到其中的每个密码。请把它放在只有您能访问的地方，用完后删除。

导出全部卡片，还是只导出表格中显示的卡片？</translation>
    </message>
    <message>
        <source>&amp;All Cards</source>
        <translation>全部卡片(&amp;A)</translation>
    </message>
    <message>
        <source>Cards &amp;Shown</source>
        <translation>显示的卡片(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>取消(&amp;C)</translation>
    </message>
    <message>
        <source>CSV File (*.csv)</source>
        <translation>CSV 文件 (*.csv)</translation>
    </message>
    <message>
        <source>The cards could not be exported to %1:
%2

A file that was there before is unchanged.</source>
        <translation>无法将卡片导出到 %1：
%2

原有的文件保持不变。</translation>
    </message>
    <message>
        <source>Cards exported to %1: %2.</source>
        <translation>已导出到 %1 的卡片：%2 张。</translation>
    </message>
    <message>
        <source>Import CSV...</source>
        <translation>导入 CSV...</translation>
    </message>
    <message>
        <source>import cards from a CSV file of a browser or password manager</source>
        <translation>从浏览器或密码管理器的 CSV 文件导入卡片</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>导出 CSV...</translation>
    </message>
    <message>
        <source>export cards to a CSV file</source>
        <translation>将卡片导出为 CSV 文件</translation>
    </message>
    <message>
        <source>The password cannot be checked:
%1</source>
        <translation>无法核对密码：
%1</translation>
    </message>
    <message>
        <source>The cards could not be read:
%1

Nothing was exported.</source>
        <translation>无法读取卡片：
%1

没有导出任何内容。</translation>
    </message>
    <message>
        <source>&amp;Lock</source>
        <translation>锁定(&amp;L)</translation>
    </message>
    <message>
        <source>lock the vault: hide every window until the password is given again</source>
        <translation>锁定保险库：隐藏所有窗口，直到再次输入密码</translation>
    </message>
    <message>
        <source>ctrl+L</source>
        <translation>ctrl+L</translation>
    </message>
    <message>
        <source>Lock &amp;After</source>
        <translation>自动锁定(&amp;A)</translation>
    </message>
    <message>
        <source>Never</source>
        <translation>从不</translation>
    </message>
    <message>
        <source>1 minute</source>
        <translation>1 分钟</translation>
    </message>
    <message>
        <source>%1 minutes</source>
        <translation>%1 分钟</translation>
    </message>
    <message>
        <source>lock the vault after this long without keyboard or mouse input</source>
        <translation>在没有键盘或鼠标输入这么久之后锁定保险库</translation>
    </message>
    <message>
        <source>Lock</source>
        <translation>锁定</translation>
    </message>
    <message>
        <source>The choice could not be stored:
%1</source>
        <translation>无法保存该选择：
%1</translation>
    </message>
    <message>
        <source>The vault stays unlocked: your changes could not be saved first.</source>
        <translation>保险库未锁定：无法先保存您的更改。</translation>
    </message>
    <message>
        <source>Vault locked</source>
        <translation>保险库已锁定</translation>
    </message>
    <message>
        <source>The choice could not be stored, so the table keeps the cards it shows. %1</source>
        <translation>无法保存所选类别，表格仍显示原来的卡片。%1</translation>
    </message>
    <message>
        <source>The language could not be stored. %1</source>
        <translation>无法保存语言设置。%1</translation>
    </message>
    <message>
        <source>The import failed and nothing was imported:
%1</source>
        <translation>导入失败，未导入任何内容：
%1</translation>
    </message>
</context>
<context>
    <name>QAbstractFileIconProvider</name>
    <message>
        <source>Folder</source>
        <comment>All other platforms</comment>
        <translation>文件夹</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>驱动器</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>未知</translation>
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
        <translation>PayPal 账户</translation>
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
    <message>
        <source>The store is in use by another program:
%1

Start Nimbrel again when that program has let go of it.</source>
        <translation>存储文件正被另一个程序使用：
%1

请在该程序释放它之后再启动 Nimbrel。</translation>
    </message>
    <message>
        <source>Nimbrel</source>
        <translation>Nimbrel</translation>
    </message>
    <message>
        <source>The vault is already open in another copy of Nimbrel. Use that one; this copy ends without touching the store.</source>
        <translation>保险箱已在另一个 Nimbrel 中打开。请使用那一个；本程序将退出，不会改动存储文件。</translation>
    </message>
    <message>
        <source>Empty Store</source>
        <translation>空数据库</translation>
    </message>
    <message>
        <source>The store %1 is empty: it holds no cards, no settings and no password, perhaps because a copy or a crash cut it short. If you have a copy of it, quit and put the copy in its place.

Start a new, empty vault in it?</source>
        <translation>数据库 %1 是空的：其中没有卡片、设置和密码，可能是复制或崩溃使它被截断。如果您有它的副本，请退出并用副本替换它。

要在其中新建一个空的保险库吗？</translation>
    </message>
    <message>
        <source>The store %1 is damaged: some of what it holds cannot be read, and writing to it could lose more.</source>
        <translation>数据库 %1 已损坏：其中部分内容无法读取，继续写入可能丢失更多内容。</translation>
    </message>
    <message>
        <source>The store %1 lacks its tables %2 while it holds other cards.</source>
        <translation>数据库 %1 缺少数据表 %2，但仍含有其他卡片。</translation>
    </message>
    <message>
        <source>Damaged Store</source>
        <translation>数据库已损坏</translation>
    </message>
    <message>
        <source>Nothing has been changed in it. Open it read-only, to read and export what is left? Otherwise Nimbrel quits and leaves the file as it is.</source>
        <translation>其中没有任何内容被修改。以只读方式打开它，以便阅读并导出剩余内容吗？否则 Nimbrel 将退出，并保持该文件原样。</translation>
    </message>
    <message>
        <source>The folder %1 cannot be written by this account, so the lock file %2 cannot be taken over. When no other copy of Nimbrel runs, it was left by a copy that ended: remove it with the rights of the folder&apos;s owner, or install Nimbrel in a folder of your own. This copy ends without touching the store.</source>
        <translation>此账户无法写入文件夹 %1，因此无法接管锁文件 %2。如果没有其他 Nimbrel 副本在运行，它是由已结束的副本留下的：请以该文件夹所有者的权限删除它，或将 Nimbrel 安装到您自己的文件夹中。此副本将结束，不会触动存储。</translation>
    </message>
    <message>
        <source>An update of Nimbrel is being installed. The updater starts Nimbrel again when it is done; this copy ends.</source>
        <translation>正在安装 Nimbrel 的更新。更新程序完成后会重新启动 Nimbrel；本副本现在退出。</translation>
    </message>
</context>
<context>
    <name>ReleaseInstall</name>
    <message>
        <source>%1 is in the way</source>
        <translation>%1 妨碍了安装</translation>
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
        <translation>&lt;font color=red&gt;不能使用“none”作为密码。&lt;/font&gt;</translation>
    </message>
    <message>
        <source>&lt;font color=red&gt;The password could not be stored: %1&lt;/font&gt;</source>
        <translation>&lt;font color=red&gt;无法保存密码：%1&lt;/font&gt;</translation>
    </message>
    <message>
        <source>&lt;font color=red&gt;The old password cannot be checked: %1&lt;/font&gt;</source>
        <translation>&lt;font color=red&gt;无法核对旧密码：%1&lt;/font&gt;</translation>
    </message>
</context>
<context>
    <name>SettingsRow</name>
    <message>
        <source>The store has no settings row; it may be damaged.</source>
        <translation>数据库中缺少设置记录，可能已损坏。</translation>
    </message>
    <message>
        <source>The settings could not be read from the store.</source>
        <translation>无法从数据库读取设置。</translation>
    </message>
    <message>
        <source>The store refused the change.</source>
        <translation>数据库拒绝了此更改。</translation>
    </message>
</context>
<context>
    <name>StoreEncryption</name>
    <message>
        <source>the key of the store is damaged</source>
        <translation>存储的密钥已损坏</translation>
    </message>
    <message>
        <source>the store is locked</source>
        <translation>存储已锁定</translation>
    </message>
    <message>
        <source>there is not enough memory to derive the key</source>
        <translation>内存不足，无法生成密钥</translation>
    </message>
    <message>
        <source>the store is encrypted already</source>
        <translation>存储已经加密</translation>
    </message>
    <message>
        <source>the store has no settings row</source>
        <translation>存储没有设置行</translation>
    </message>
</context>
<context>
    <name>StoreImport</name>
    <message>
        <source>%1 of its %2 rows could be copied</source>
        <translation>其 %2 行中只有 %1 行可以复制</translation>
    </message>
    <message>
        <source>a text of its %1 table is damaged</source>
        <translation>其 %1 表中的一段文本已损坏</translation>
    </message>
</context>
<context>
    <name>StoreKey</name>
    <message>
        <source>(damaged: this text cannot be read)</source>
        <translation>（已损坏：无法读取此文本）</translation>
    </message>
    <message>
        <source>the vault is locked</source>
        <translation>保险库已锁定</translation>
    </message>
</context>
<context>
    <name>TableSupport</name>
    <message>
        <source>Write Error</source>
        <translation>写入错误</translation>
    </message>
    <message>
        <source>Read Error</source>
        <translation>读取错误</translation>
    </message>
    <message>
        <source>The changes could not be written to the store. They are kept; nothing has been lost yet.</source>
        <translation>更改无法写入数据库。修改仍保留在程序中，尚未丢失。</translation>
    </message>
    <message>
        <source>The store could not be read. The table shows what was read before; try again in a moment.</source>
        <translation>无法读取数据库。表格显示的是之前读取的内容；请稍后再试。</translation>
    </message>
</context>
<context>
    <name>TransferOutcome</name>
    <message>
        <source>%1 is the open store itself. Choose another file name.</source>
        <translation>%1 就是当前打开的数据库本身。请选择其他文件名。</translation>
    </message>
    <message>
        <source>The store could not be exported to %1:
%2

A file that was there before is unchanged.</source>
        <translation>无法将数据库导出到 %1：
%2

原有的同名文件保持不变。</translation>
    </message>
    <message>
        <source>A temporary copy of the store could not be made:
%1</source>
        <translation>无法创建数据库的临时副本：
%1</translation>
    </message>
    <message>
        <source>%1 is not a card store: it has no tables of categories, cards and lines. Nothing was imported.</source>
        <translation>%1 不是卡片数据库：其中没有类别、卡片和行的数据表。未导入任何内容。</translation>
    </message>
    <message>
        <source>%1 holds ids that are not positive whole numbers, or that would grow too large beside the ids of this store. Nothing was imported.</source>
        <translation>%1 中有的编号不是正整数，或者与本数据库的编号合并后会超出范围。未导入任何内容。</translation>
    </message>
    <message>
        <source>Incorrect password of Import Database.</source>
        <translation>导入数据库的密码不正确。</translation>
    </message>
    <message>
        <source>The import failed and nothing was imported:
%1</source>
        <translation>导入失败，未导入任何内容：
%1</translation>
    </message>
    <message>
        <source>%1 is in use by another program and cannot be read. Nothing was imported. Try again when that program has let go of it.</source>
        <translation>%1 正被另一个程序使用，无法读取。没有导入任何内容。请在该程序释放它之后再试。</translation>
    </message>
    <message>
        <source>%1 holds views or triggers where a card store holds only its tables. It was not read, and nothing was imported.</source>
        <translation>%1 含有视图或触发器，而卡片数据库只含数据表。未读取该文件，也没有导入任何内容。</translation>
    </message>
    <message>
        <source>%1 is damaged or cannot be read. Nothing was imported.</source>
        <translation>%1 已损坏或无法读取。没有导入任何内容。</translation>
    </message>
    <message>
        <source>The key of %1 is damaged, so its cards cannot be read. Nothing was imported.</source>
        <translation>%1 的密钥已损坏，无法读取其中的卡片。未导入任何内容。</translation>
    </message>
    <message>
        <source>The store is in use by another program, so nothing was imported. Try again when that program has let go of it.</source>
        <translation>数据库正被另一个程序使用，因此没有导入任何内容。请在该程序释放它之后再试。</translation>
    </message>
</context>
<context>
    <name>Version</name>
    <message>
        <source>Update</source>
        <translation>更新</translation>
    </message>
    <message>
        <source>New version is checked, update now?</source>
        <translation>检测到新版本，现在更新吗？</translation>
    </message>
    <message>
        <source>The update is put off because your changes could not be saved. It will be offered again at the next start.</source>
        <translation>由于您的修改无法保存，更新已推迟。下次启动时将再次提示更新。</translation>
    </message>
    <message>
        <source>The updater %1 could not be started. This version stays in use.</source>
        <translation>无法启动更新程序 %1。将继续使用当前版本。</translation>
    </message>
</context>
<context>
    <name>Widget</name>
    <message>
        <source>This build has no key to check an update with, so the current version stays in use.</source>
        <translation>此版本未内置更新验证密钥，将继续使用当前版本。</translation>
    </message>
    <message>
        <source>The update could not be written to %1 (%2), so the current version stays in use.</source>
        <translation>更新无法写入 %1（%2），将继续使用当前版本。</translation>
    </message>
    <message>
        <source>The download of %1 failed (%2), so the current version stays in use.</source>
        <translation>%1 下载失败（%2），将继续使用当前版本。</translation>
    </message>
    <message>
        <source>The update was refused because its description is not signed with the publisher&apos;s key, so the current version stays in use.</source>
        <translation>更新说明未使用发布者的密钥签名，已拒绝此更新，将继续使用当前版本。</translation>
    </message>
    <message>
        <source>The update was refused because its description cannot be read, so the current version stays in use.</source>
        <translation>无法读取更新说明，已拒绝此更新，将继续使用当前版本。</translation>
    </message>
    <message>
        <source>The update was refused because it is not newer than this version, so the current version stays in use.</source>
        <translation>此更新并不比当前版本新，已拒绝此更新，将继续使用当前版本。</translation>
    </message>
    <message>
        <source>The new version could not be put in place (%1), so the current version stays in use.</source>
        <translation>新版本无法安装到位（%1），将继续使用当前版本。</translation>
    </message>
    <message>
        <source>The update was refused because the downloaded %1 differs from its signed description, so the current version stays in use.</source>
        <translation>下载的 %1 与已签名的更新说明不符，已拒绝此更新，将继续使用当前版本。</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>更新</translation>
    </message>
    <message>
        <source>The vault %1 could not be started.</source>
        <translation>无法启动保险库程序 %1。</translation>
    </message>
    <message>
        <source>An update is already being installed. This copy of the updater ends; the other one starts Nimbrel when it is done.</source>
        <translation>已有更新正在安装。本更新程序副本现在退出；另一个完成后会启动 Nimbrel。</translation>
    </message>
</context>
</TS>
