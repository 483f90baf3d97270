#pragma once

#include "data/BookModels.h"
#include "editing/EditModel.h"
#include "navigation/CategoryTreeModel.h"

namespace qv {

class RecordListModel;

// The models that every opened book is handed to: the category tree, the
// edit model and, in the program's window, the record list.
class BookModelSet : public BookModels {
public:
    void setRecordList(RecordListModel *recordList) { m_recordList = recordList; }

    CategoryTreeModel &tree() { return m_tree; }
    const CategoryTreeModel &tree() const { return m_tree; }
    EditModel &editModel() { return m_edit; }
    const EditModel &editModel() const { return m_edit; }

    void receiveBook(RecordStore &data, BookContent &content) override;
    ModelMembers members() const override;
    void bookSaved() override;

private:
    RecordListModel *m_recordList = nullptr;
    CategoryTreeModel m_tree;
    EditModel m_edit{m_tree};
};

} // namespace qv
