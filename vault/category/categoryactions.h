#ifndef CATEGORYACTIONS_H
#define CATEGORYACTIONS_H

#include <QString>

// The category filter menu as the category editor keeps it in step: one
// entry per stored category. The main window implements it.
class CategoryActions
{
public:
    virtual void addCategoryAction(int id, const QString &name) = 0;
    virtual void renameCategoryAction(int id, const QString &name) = 0;
    virtual void removeCategoryAction(int id) = 0;
    virtual void clearCategoryActions() = 0;
    virtual void loadCategoryActions() = 0;

protected:
    ~CategoryActions() = default;
};

#endif
