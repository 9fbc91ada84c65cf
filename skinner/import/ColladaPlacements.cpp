#include "ColladaPlacements.h"

#include "Errors.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

// A node element: the meshes it places itself, its child nodes and the nodes it names.
struct Node {
    std::uint64_t meshes = 0;
    std::vector<std::size_t> children;
    std::vector<std::string> references; // ids, without the leading '#'
};

// The value of attribute `name` in a tag's text (between the element name and '>'), or empty.
std::string_view attribute(std::string_view tag, std::string_view name)
{
    for (std::size_t at = tag.find(name); at != std::string_view::npos; at = tag.find(name, at + 1)) {
        const bool wordStart = at > 0 && (tag[at - 1] == ' ' || tag[at - 1] == '\t' || tag[at - 1] == '\n' || tag[at - 1] == '\r');
        std::size_t p = at + name.size();
        while (p < tag.size() && (tag[p] == ' ' || tag[p] == '\t'))
            ++p;
        if (!wordStart || p >= tag.size() || tag[p] != '=')
            continue;
        ++p;
        while (p < tag.size() && (tag[p] == ' ' || tag[p] == '\t'))
            ++p;
        if (p >= tag.size() || (tag[p] != '"' && tag[p] != '\''))
            continue;
        const std::size_t end = tag.find(tag[p], p + 1);
        if (end == std::string_view::npos)
            return {};
        return tag.substr(p + 1, end - p - 1);
    }
    return {};
}

// The element name at the start of a tag's text, without a namespace prefix.
std::string_view elementName(std::string_view tag)
{
    const std::size_t end = std::min(tag.find_first_of(" \t\r\n/>"), tag.size());
    std::string_view name = tag.substr(0, end);
    if (const std::size_t colon = name.find(':'); colon != std::string_view::npos)
        name.remove_prefix(colon + 1);
    return name;
}

class Counter {
public:
    Counter(const std::vector<Node>& nodes, const std::unordered_map<std::string_view, std::size_t>& ids,
            std::uint64_t limit)
        : nodes_(nodes), ids_(ids), limit_(limit), counted_(nodes.size(), Unknown)
    {
    }

    std::uint64_t placements(std::size_t node, int depth)
    {
        if (counted_[node] == Counting)
            throw FormatError("a node places itself");
        if (counted_[node] != Unknown)
            return counted_[node];
        if (depth > 1000)
            throw FormatError("nodes placed more than 1,000 deep");
        counted_[node] = Counting;
        std::uint64_t total = nodes_[node].meshes;
        for (std::size_t child : nodes_[node].children)
            total = capped(total + placements(child, depth + 1));
        for (const std::string& id : nodes_[node].references)
            if (const auto found = ids_.find(id); found != ids_.end())
                total = capped(total + placements(found->second, depth + 1));
        counted_[node] = capped(total);
        return counted_[node];
    }

private:
    static constexpr std::uint64_t Unknown = ~std::uint64_t(0), Counting = Unknown - 1;
    std::uint64_t capped(std::uint64_t n) const { return std::min(n, limit_ + 1); }

    const std::vector<Node>& nodes_;
    const std::unordered_map<std::string_view, std::size_t>& ids_;
    const std::uint64_t limit_;
    std::vector<std::uint64_t> counted_;
};

} // namespace

bool LooksLikeCollada(std::string_view text)
{
    // The root element comes after the XML declaration and comments, within the first kilobytes.
    const std::string_view head = text.substr(0, 4096);
    for (std::size_t at = head.find('<'); at != std::string_view::npos; at = head.find('<', at + 1)) {
        const std::string_view rest = head.substr(at + 1);
        if (rest.starts_with("!--")) {
            at = head.find("-->", at);
            if (at == std::string_view::npos)
                return false;
            continue;
        }
        if (rest.starts_with('?') || rest.starts_with('!'))
            continue;
        return elementName(rest) == "COLLADA";
    }
    return false;
}

std::uint64_t ColladaPlacements(std::string_view text, std::uint64_t limit)
{
    std::vector<Node> nodes;
    std::unordered_map<std::string_view, std::size_t> ids;
    std::vector<std::size_t> open; // the node elements the scan is inside, innermost last
    for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
        const std::string_view rest = text.substr(at + 1);
        if (rest.starts_with("!--")) { // a comment may hold anything but its end
            at = text.find("-->", at);
            if (at == std::string_view::npos)
                break;
            continue;
        }
        if (rest.starts_with("![CDATA[")) {
            at = text.find("]]>", at);
            if (at == std::string_view::npos)
                break;
            continue;
        }
        const std::size_t close = rest.find('>');
        if (close == std::string_view::npos)
            break;
        const std::string_view tag = rest.substr(0, close);
        at += close;
        if (tag.starts_with('/')) {
            if (elementName(tag.substr(1)) == "node" && !open.empty())
                open.pop_back();
            continue;
        }
        const std::string_view name = elementName(tag);
        const bool empty = tag.ends_with('/');
        if (name == "node") {
            const std::size_t index = nodes.size();
            nodes.emplace_back();
            if (!open.empty())
                nodes[open.back()].children.push_back(index);
            if (const std::string_view id = attribute(tag, "id"); !id.empty())
                ids.emplace(id, index);
            if (!empty)
                open.push_back(index);
        } else if (!open.empty() && (name == "instance_geometry" || name == "instance_controller")) {
            ++nodes[open.back()].meshes;
        } else if (!open.empty() && name == "instance_node") {
            std::string_view url = attribute(tag, "url");
            if (url.starts_with('#'))
                url.remove_prefix(1);
            nodes[open.back()].references.emplace_back(url);
        }
    }
    Counter counter(nodes, ids, limit);
    std::uint64_t most = 0;
    for (std::size_t n = 0; n < nodes.size() && most <= limit; ++n)
        most = std::max(most, counter.placements(n, 0));
    return most;
}
