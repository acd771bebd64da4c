// Putting removed nodes back into the document tree.
#include "document/documenttree.h"

void DocumentTree::insertSections(int row, std::vector<SectionNode> sections)
{
    if (row < 0 || row > sectionCount() || sections.empty())
        return;
    const int count = static_cast<int>(sections.size());
    if (!inBatch())
        beginInsertRows({}, row, row + count - 1);
    std::vector<std::unique_ptr<Section>> nodes;
    nodes.reserve(sections.size());
    for (SectionNode &section : sections) {
        auto node = std::make_unique<Section>();
        node->name = std::move(section.name);
        node->value = std::move(section.value);
        node->image = section.image;
        node->options.reserve(section.options.size());
        for (OptionNode &option : section.options)
            node->options.push_back(Option { std::move(option.name), std::move(option.value), option.image });
        nodes.push_back(std::move(node));
    }
    m_sections.insert(
        m_sections.begin() + row, std::make_move_iterator(nodes.begin()), std::make_move_iterator(nodes.end()));
    m_rowsDirty = true;
    if (!inBatch())
        endInsertRows();
}

void DocumentTree::insertOptions(int section, int row, std::vector<OptionNode> options)
{
    if (section < 0 || section >= sectionCount() || options.empty())
        return;
    auto &list = m_sections[static_cast<size_t>(section)]->options;
    if (row < 0 || row > static_cast<int>(list.size()))
        return;
    const int count = static_cast<int>(options.size());
    if (!inBatch())
        beginInsertRows(sectionIndex(section), row, row + count - 1);
    std::vector<Option> nodes;
    nodes.reserve(options.size());
    for (OptionNode &option : options)
        nodes.push_back(Option { std::move(option.name), std::move(option.value), option.image });
    list.insert(list.begin() + row, std::make_move_iterator(nodes.begin()), std::make_move_iterator(nodes.end()));
    if (!inBatch())
        endInsertRows();
}
