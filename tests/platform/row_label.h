// Names the instances of a parameterised test after their rows' label members.
#pragma once

#include <gtest/gtest.h>

#include <string>

struct RowLabel {
    template <typename Row> std::string operator()(const ::testing::TestParamInfo<Row>& row) const {
        return row.param.label;
    }
};
