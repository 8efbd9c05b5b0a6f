#ifndef VERSION_H
#define VERSION_H

#include <QUrl>
#include <QWidget>

// Checks at start whether the update server publishes a newer version.
class Version : public QWidget
{
    Q_OBJECT

public:
    explicit Version(QWidget *parent = nullptr);

    // The version file on the update server.
    static QUrl versionFileUrl();

    bool startDownload(const QUrl &url);

signals:
    void done();
};

#endif
